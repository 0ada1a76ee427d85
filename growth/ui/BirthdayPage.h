#pragma once

#include "growth/BirthdayLists.h"
#include "growth/ui/MediaEntryPage.h"

class CSHENGRI;
class LimitedTextEdit;
class QComboBox;
class QLineEdit;
class QTableWidget;

// The birthdays: one record per year with a description, the presents (who gave what), the
// greetings (who wrote what) and attached pictures, sounds and videos. "搜索" loads the year's
// record; "保 存" adds one until "修 改" was used, from then on it saves into the year's record.
class BirthdayPage : public MediaEntryPage
{
    Q_OBJECT

public:
    explicit BirthdayPage(QWidget* parent = nullptr);
    ~BirthdayPage() override;

    QList<BirthdayLists::Row> presents() const;
    QList<BirthdayLists::Row> greetings() const;

public slots:
    void search();
    void addPresent();
    void deletePresent();
    void addGreeting();
    void deleteGreeting();
    // "修 改" saves into the year's record, and so does every later "保 存".
    void save() override;
    // "撤 消": empties the description and the lists.
    void undo() override;

protected:
    void showMarked(bool) override {}
    QList<qint64> idsToDelete() override;
    QString noRecordChosenMessage() const override { return {}; }
    void afterDelete() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString goneMessage() const override;
    QString summaryOf(const Recordset& row) const override;

private:
    QWidget* buildRecordSide();
    QWidget* buildGreetingSide();
    QTableWidget* makeList(QWidget* parent, const QString& name, const QString& label, const QStringList& headings);
    // Puts who gave or wrote what on top of list once both are filled in; noWhat or noWho is
    // said otherwise.
    bool addListRow(QTableWidget* list, const BirthdayLists::Row& row, const QString& noWhat, const QString& noWho);
    void deleteChosenRow(QTableWidget* list);
    void yearChanged();
    void emptyPage();
    QString yearKey() const;
    // The record of the chosen year that 修 改 and 删 除 act on: the one shown, else the newest.
    qint64 targetId();
    void saveIntoYear(const QString& key);
    void addBirthday(const QString& key);
    void writeRecord(CSHENGRI& record, const QString& key) const;
    void afterSave(const QString& text);
    void showWholeText(QTableWidget* list);

    QComboBox* m_yearCombo;
    LimitedTextEdit* m_descriptionEdit;
    QLineEdit* m_presentEdit;
    QLineEdit* m_giverEdit;
    QTableWidget* m_presentList;
    LimitedTextEdit* m_greetingEdit;
    QLineEdit* m_authorEdit;
    QTableWidget* m_greetingList;
};
