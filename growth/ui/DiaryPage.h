#pragma once

#include "growth/ui/MediaEntryPage.h"

class CCHENGZHANG;
class DiaryHitsModel;
class LimitedTextEdit;
class QCalendarWidget;
class QComboBox;
class QLineEdit;

// The growth diary: entries with the day's weather, a keyword, a text and attached pictures,
// sounds and videos, found again by date, title and keyword. A double-click on a hit loads the
// entry; "保 存" adds a new entry unless one is loaded, then it and "修 改" save into it.
//
// An entry is known by its id, so two entries of the same day and title are loaded, changed and
// deleted separately.
class DiaryPage : public MediaEntryPage
{
    Q_OBJECT

public:
    explicit DiaryPage(QWidget* parent = nullptr);
    ~DiaryPage() override;

public slots:
    void search();
    // Loads the entry of the marked hit.
    void loadMarked();
    // "修 改": saves into the loaded entry.
    void beginChanging() override;
    void save() override;
    // "撤 消": an empty page that adds.
    void undo() override;
    void changeSkin();

protected:
    // A click only marks a hit; a double-click loads it.
    void showMarked(bool) override {}
    // "删 除" takes the entry in the fields, or the chosen hit when none is loaded, and names it.
    QList<qint64> idsToDelete() override;
    QString deleteQuestion() override;
    QString noRecordChosenMessage() const override;
    void afterDelete() override;
    QString goneMessage() const override;
    void loadedRowWritten(const Recordset& row) override;

private:
    QWidget* buildSearchSide();
    QWidget* buildEntrySide();
    void addEntry();
    void saveIntoLoaded();
    // Writes what the fields hold; the date stays the day the entry was added.
    void writeEntry(CCHENGZHANG& entry) const;
    void clearFields();
    qint64 entryToDelete();

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
};
