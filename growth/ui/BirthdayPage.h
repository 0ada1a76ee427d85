#pragma once

#include "data/ui/EditingPage.h"
#include "growth/BirthdayLists.h"

#include <QStringList>

class CSHENGRI;
class LimitedTextEdit;
class MediaGroup;
class QComboBox;
class QLineEdit;
class QTableWidget;

// The birthdays: one record per year with a description, the presents (who gave what), the
// greetings (who wrote what) and attached pictures, sounds and videos. "搜索" loads the year's
// record; "保 存" adds one until "修 改" was used, from then on it saves into the year's record.
class BirthdayPage : public EditingPage
{
    Q_OBJECT

public:
    explicit BirthdayPage(QWidget* parent = nullptr);
    ~BirthdayPage() override;

    MediaGroup* mediaGroup() const { return m_media; }
    // The record shown; 0 when none is.
    qint64 loadedId() const { return m_loadedId; }
    bool isModifying() const { return m_modifying; }

    QList<BirthdayLists::Row> presents() const;
    QList<BirthdayLists::Row> greetings() const;

public slots:
    void search();
    void addPresent();
    void deletePresent();
    void addGreeting();
    void deleteGreeting();
    void beginAdding() override {}
    // "修 改": saves into the year's record, and so does every later "保 存".
    void beginChanging() override;
    void save() override;
    // "撤 消": empties the description and the lists.
    void undo() override;
    void showHelp();

protected:
    void showMarked(bool) override {}
    QList<qint64> idsToDelete() override;
    QString noRecordChosenMessage() const override { return {}; }
    Result deleteRecords(const QList<qint64>& ids) override;
    void afterDelete() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildRecordSide();
    QWidget* buildGreetingSide();
    QTableWidget* makeList(QWidget* parent, const QString& name, const QString& label, const QStringList& headings);
    void yearChanged();
    void emptyPage();
    QString yearKey() const;
    // The record of the chosen year that 修 改 and 删 除 act on: the one shown, else the newest.
    qint64 targetId();
    void saveIntoYear(const QString& key);
    void addBirthday(const QString& key);
    void writeRecord(CSHENGRI& record, const QString& key) const;
    void afterSave(const QString& text);
    Result saveAttachments(const QString& text);
    void rememberLoaded();
    void showWholeText(QTableWidget* list);

    bool m_modifying = false;
    qint64 m_loadedId = 0;
    qint64 m_deletedId = 0;
    QStringList m_deletedNames;

    QComboBox* m_yearCombo;
    LimitedTextEdit* m_descriptionEdit;
    QLineEdit* m_presentEdit;
    QLineEdit* m_giverEdit;
    QTableWidget* m_presentList;
    LimitedTextEdit* m_greetingEdit;
    QLineEdit* m_authorEdit;
    QTableWidget* m_greetingList;
    MediaGroup* m_media;
};
