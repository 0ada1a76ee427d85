#pragma once

#include "data/ui/EditingPage.h"

#include <QStringList>

class LimitedTextEdit;
class MediaGroup;
class QComboBox;
class QLineEdit;
class TextRowsModel;

// The child's honours: name, date of the award, awarding body, prize, description and attached
// pictures, sounds and videos, found again by date and name. A click on a hit loads the honour;
// "保存" then saves into it (while it has no attachments listed, as "修改" always does), and
// otherwise adds a new honour.
class HonoursPage : public EditingPage
{
    Q_OBJECT

public:
    explicit HonoursPage(QWidget* parent = nullptr);
    ~HonoursPage() override;

    MediaGroup* mediaGroup() const { return m_media; }
    // The honour shown in the fields; 0 when none is.
    qint64 loadedId() const { return m_loadedId; }
    bool isModifying() const { return m_modifying; }

public slots:
    void search();
    void beginAdding() override {}
    // "修改": saves into the loaded honour.
    void beginChanging() override;
    void save() override;
    // "撤消": an empty page that adds.
    void undo() override;
    void showHelp();

protected:
    void showMarked(bool clicked) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QList<qint64> idsToDelete() override;
    QString noRecordChosenMessage() const override;
    Result deleteRecords(const QList<qint64>& ids) override;
    void afterDelete() override;

private:
    QWidget* buildSearchSide();
    QWidget* buildHonourSide();
    void load(qint64 id);
    bool checkFields();
    void addHonour(const QString& date);
    void saveIntoLoaded(const QString& date);
    Result saveAttachments(const QString& text);
    void rememberLoaded();
    void clearHonour();

    bool m_modifying = false;
    qint64 m_loadedId = 0;
    qint64 m_deletedId = 0;
    QStringList m_deletedNames;

    QLineEdit* m_searchNameEdit;
    QComboBox* m_searchYearCombo;
    QComboBox* m_searchMonthCombo;
    QComboBox* m_searchDayCombo;
    TextRowsModel* m_hits;
    QLineEdit* m_nameEdit;
    QComboBox* m_yearCombo;
    QComboBox* m_monthCombo;
    QComboBox* m_dayCombo;
    QLineEdit* m_bodyEdit;
    QLineEdit* m_prizeEdit;
    LimitedTextEdit* m_descriptionEdit;
    MediaGroup* m_media;
};
