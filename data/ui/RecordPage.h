#pragma once

#include "data/DataTr.h"
#include "data/RecordQuery.h"
#include "data/ui/EditingPage.h"

#include <memory>

class CategoryRecordset;
class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;
class RecordListModel;
class Recordset;

// What every record page shares: a search group and the record list on the left, the editing
// group with its buttons on the right, the two editing modes, the button states, the ordered
// checks, the search statements and the delete confirmation. A page adds its own fields and
// says how its table's columns map to them.
class RecordPage : public EditingPage
{
    Q_OBJECT

public:
    enum class KeyMode
    {
        None,
        Search,
        Editing
    };

    struct Settings
    {
        RecordColumns columns;
        // Heading of the title column of the list, leading spaces included.
        QString titleHeading;
        // Categories newest first instead of in the order they were added.
        bool categoriesNewestFirst = false;
        // What a search that finds nothing says; empty for nothing.
        QString nothingFoundMessage;
        // What Display says when no user is chosen.
        QString noUserMessage;
        // Showing a record puts today's date into the date box (else the box keeps its text).
        bool showTodayWithRecord = true;
        // After a change is saved, search again (else display again).
        bool searchAfterChange = true;
        // The editing group's category and child boxes copy their choice back to the search group.
        bool copyEditChoicesBack = true;
        // 修改 is disabled while a change is edited (else it stays enabled).
        bool changingDisablesModify = true;
        // Labels of the editing group.
        QString categoryLabel = DataTr::tr("类  型");
        QString titleLabel = DataTr::tr("标  题");
        QString userGroupTitle = DataTr::tr("用 户 操 作");
        QString childLabel = DataTr::tr("儿童姓名:");
        QString dateLabel = DataTr::tr("日   期");
    };

    KeyMode keyMode() const { return m_keyMode; }
    SearchKind searchKind() const;

public slots:
    void beginAdding() override;
    void beginChanging() override;
    void undo() override;
    void save() override;
    virtual void display();
    void search();
    void showHelp();

protected:
    RecordPage(Settings settings, QWidget* parent);
    ~RecordPage() override;

    // Building the page: content boxes go under the title, user fields above the date.
    void addContent(QWidget* box);
    void addContent(const QString& label, QWidget* box);
    // An editing field goes on and off with the editing group; other rows keep their own state.
    void addUserField(const QString& label, QWidget* field, bool editingField = true);
    // A page's own button in the search group, before 搜索.
    void addSearchButton(QPushButton* button);
    // Adds a new category at the end of both category lists.
    void appendCategory(const QString& category);

    // The page's table binding and category table.
    virtual std::unique_ptr<Recordset> createRecords() const = 0;
    virtual std::unique_ptr<CategoryRecordset> createCategories() const = 0;
    // The checks of Save before the category check, in the page's order; false after a message.
    virtual bool checkFields() = 0;
    // What the category check says when the typed category is unknown.
    virtual QString unknownCategoryMessage() const = 0;
    // Puts the editing fields into the members of a new or changed record.
    virtual void writeRecord(Recordset& record, int dateKey) = 0;
    // Shows a record's columns in the editing fields.
    virtual void readRecord(const Recordset& record) = 0;
    virtual void clearContent() = 0;
    virtual void setContentEnabled(bool enabled) = 0;

    // Shared checks; each shows its message and returns false on failure.
    bool require(const QString& value, const QString& message);
    bool titleFits(const QString& title, int maxBytes, const QString& message);
    bool childExists(const QString& child, const QString& message);

    // Lists a child's records of a category, newest first; says so when there are none.
    void showRecordsOf(const QString& child, const QString& category);
    void message(const QString& text);

    QString searchCategory() const;
    QString searchUser() const;
    QString editCategory() const;
    QString title() const;
    QString child() const;
    bool userTableEmpty() const;

    QComboBox* searchUserCombo() const { return m_searchUserCombo; }
    QComboBox* childCombo() const { return m_childCombo; }
    QPushButton* deleteButton() const { return button(DeleteButton); }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showMarked(bool clicked) override;
    Result deleteRecords(const QList<qint64>& ids) override;
    void afterDelete() override;

private:
    void buildSearchGroup(QVBoxLayout* column);
    void buildList(QVBoxLayout* column);
    QGroupBox* buildEditGroup();
    void loadCategories();
    void reloadUserLists();
    void clearFields();
    void setFieldsEnabled(bool enabled);
    // Lists the rows of a listing statement, first screen first; false after a message.
    bool showList(Statement statement);
    void clearList();
    void showRecord(qint64 id);
    void chooseDateSearch();
    bool categoryKnown(const QString& category);
    bool addRecord(int dateKey);
    bool changeRecord(qint64 id, int dateKey);
    void afterSave(const QString& text, bool searchAgain);

    Settings m_settings;
    bool m_categoriesLoaded = false;
    KeyMode m_keyMode = KeyMode::None;

    QComboBox* m_searchCategoryCombo;
    QLineEdit* m_dateFromEdit;
    QLineEdit* m_dateToEdit;
    QComboBox* m_searchUserCombo;
    QLineEdit* m_keywordEdit;
    QButtonGroup* m_searchKinds;
    RecordListModel* m_model;
    QComboBox* m_editCategoryCombo;
    QLineEdit* m_titleEdit;
    QVBoxLayout* m_contentLayout;
    QComboBox* m_childCombo;
    QLineEdit* m_dateEdit;
    QFormLayout* m_userLayout;
    QList<QWidget*> m_userFields;
    QHBoxLayout* m_searchButtons;
};
