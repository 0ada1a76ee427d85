#pragma once

#include "data/ui/EditingPage.h"

#include <QStringList>

class DiaryHitsModel;
class LimitedTextEdit;
class MediaGroup;
class QCalendarWidget;
class QComboBox;
class QLineEdit;

// The growth diary: entries with the day's weather, a keyword, a text and attached pictures,
// sounds and videos, found again by date, title and keyword. A double-click on a hit loads the
// entry; "保 存" adds a new entry unless one is loaded, then it and "修 改" save into it.
//
// An entry is known by its id, so two entries of the same day and title are loaded, changed and
// deleted separately.
class DiaryPage : public EditingPage
{
    Q_OBJECT

public:
    explicit DiaryPage(QWidget* parent = nullptr);
    ~DiaryPage() override;

    MediaGroup* mediaGroup() const { return m_media; }
    // The entry shown in the fields; 0 when none is.
    qint64 loadedId() const { return m_loadedId; }
    // Whether "保 存" saves into the loaded entry rather than adding one.
    bool isModifying() const { return m_modifying; }

public slots:
    void search();
    // Loads the entry of the marked hit.
    void loadMarked();
    void beginAdding() override {}
    // "修 改": saves into the loaded entry.
    void beginChanging() override;
    void save() override;
    // "撤 消": an empty page that adds.
    void undo() override;
    void changeSkin();
    void showHelp();

protected:
    // A click only marks a hit; a double-click loads it.
    void showMarked(bool) override {}
    QList<qint64> idsToDelete() override;
    QString noRecordChosenMessage() const override;
    Result deleteRecords(const QList<qint64>& ids) override;
    void afterDelete() override;

private:
    QWidget* buildSearchSide();
    QWidget* buildEntrySide();
    void addEntry();
    void saveIntoLoaded();
    Result saveAttachments(const QString& text);
    void rememberLoaded();
    void clearFields();

    bool m_modifying = false;
    qint64 m_loadedId = 0;
    // The entry deleted last and the files its row named.
    qint64 m_deletedId = 0;
    QStringList m_deletedNames;

    QComboBox* m_yearCombo;
    QComboBox* m_monthCombo;
    QComboBox* m_dayCombo;
    QLineEdit* m_searchTitleEdit;
    QLineEdit* m_searchKeywordEdit;
    DiaryHitsModel* m_hits;
    QCalendarWidget* m_calendar;
    QLineEdit* m_titleEdit;
    QLineEdit* m_weatherEdit;
    QLineEdit* m_keywordEdit;
    LimitedTextEdit* m_contentEdit;
    MediaGroup* m_media;
};
