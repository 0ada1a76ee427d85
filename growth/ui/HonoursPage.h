#pragma once

#include "growth/ui/MediaEntryPage.h"

class CRONGYU;
class LimitedTextEdit;
class QComboBox;
class QLineEdit;
class TextRowsModel;

// The child's honours: name, date of the award, awarding body, prize, description and attached
// pictures, sounds and videos, found again by date and name. A click on a hit loads the honour;
// "保存" then saves into it (while it has no attachments listed, as "修改" always does), and
// otherwise adds a new honour. Moving to another hit while the fields hold unsaved changes asks
// first.
class HonoursPage : public MediaEntryPage
{
    Q_OBJECT

public:
    explicit HonoursPage(QWidget* parent = nullptr);
    ~HonoursPage() override;

public slots:
    void search();
    void save() override;
    // "撤消": an empty page that adds.
    void undo() override;

protected:
    void showMarked(bool clicked) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString noRecordChosenMessage() const override;
    void afterDelete() override;
    QString goneMessage() const override;

private:
    QWidget* buildSearchSide();
    QWidget* buildHonourSide();
    void load(qint64 id);
    bool checkFields();
    void addHonour(const QString& date);
    void saveIntoLoaded(const QString& date);
    void writeHonour(CRONGYU& honour, const QString& date) const;
    void clearHonour();
    // What the fields hold, and what they held when the honour was shown or saved.
    QStringList fieldTexts() const;
    void rememberFieldTexts();
    // Whether the fields may show honour next: yes when they hold nothing unsaved, or the user
    // gives it up; otherwise the list goes back to the honour shown.
    bool mayLeaveShown(qint64 next);

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
    QStringList m_shownTexts;
};
