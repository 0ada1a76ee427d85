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
// record; "保 存" and "修 改" save into the record shown, and only "保 存" adds one, for a year
// that has none.
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
    // "保 存" and "修 改" save into the record shown; with none shown "保 存" adds the year's
    // record unless the year has one already.
    void save() override;
    void beginChanging() override;
    // "撤 消": empties the description and the lists.
    void undo() override;

protected:
    void showMarked(bool) override {}
    QList<qint64> idsToDelete() override;
    QString noRecordChosenMessage() const override { return {}; }
    void afterDelete() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString deleteQuestion() override;
    QString goneMessage() const override;

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
    bool checkFields();
    // The newest record of the chosen year; 0 when it has none, -1 when it could not be read.
    qint64 newestOfYear();
    // The record of the chosen year that 删 除 acts on: the one shown, else the newest.
    qint64 targetId();
    void saveIntoLoaded(const QString& key);
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
