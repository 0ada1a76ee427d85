#pragma once

#include "data/DataTr.h"
#include "data/Statement.h"
#include "data/ui/EditingPage.h"

#include <QStringList>

#include <memory>

class CategoryRecordset;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;
class RecordListModel;
class Recordset;

// A library of articles (type, title, text) browsed by type: the list of one type, the text
// of the chosen article, a title search, and adding, changing and deleting articles. The
// libraries differ only in their settings; the disease knowledge base adds its own search.
class ArticlePage : public EditingPage
{
    Q_OBJECT

public:
    struct Settings
    {
        // The article table; its columns are id, title, connect (the text) and leixing (the type).
        QString table;
        // Types offered when the library has no type table.
        QStringList fixedTypes;
        // Empty entries at the end of the editing type list (they let a type be left out).
        int emptyEditTypes = 0;
        // The editing type can be typed in (else it is chosen from the list only).
        bool editTypeTyped = true;
        // The search type list keeps its entries sorted (by pinyin).
        bool sortedSearchTypes = true;
        // The editing type list keeps its entries sorted too.
        bool sortedEditTypes = false;
        // Labels of the two type boxes, and of the text box (none when empty).
        QString searchTypeLabel = DataTr::tr("类型");
        QString editTypeLabel = DataTr::tr("类型");
        QString textLabel;
        QString titleHeading;
        QString typeHeading = DataTr::tr("类型");
        int maxTitleBytes = 40;
        QString titleTooLong;
        // 0 for no limit on the text.
        int maxTextBytes = 0;
        QString textTooLong;
        // What 显示 says when the type has no article; empty for nothing (the list is then emptied).
        QString nothingToShow;
        // Enter in the search group runs the search once it has been switched on.
        bool enterSearches = true;
        // The keyword box is off until the "标题" radio button is chosen.
        bool keywordNeedsRadio = false;
        // 修改 also disables 增加 until the change is saved or dropped.
        bool modifyDisablesAdd = false;
        // Which entry of the type lists is chosen at first.
        int firstType = 0;
        // Order of the articles 显示 lists; empty for the order of the table.
        QString displaySort = QStringLiteral("id desc");
        QString unknownTypeAdding = DataTr::tr("没有该类型,请正确操作");
        QString unknownTypeModifying = DataTr::tr("没有该类型");
    };

public slots:
    virtual void display();
    virtual void search();
    void beginAdding() override;
    void beginChanging() override;
    void save() override;
    void undo() override;
    void showHelp();

protected:
    ArticlePage(Settings settings, QWidget* parent);
    ~ArticlePage() override;

    virtual std::unique_ptr<Recordset> createRecords() const = 0;
    // The table of allowed types; none for libraries with fixed types (then no type check).
    virtual std::unique_ptr<CategoryRecordset> createTypes() const;
    // The checks of 保存 in the page's order (the type check follows them); false after a message.
    virtual bool checkFields();
    // Puts the editing fields into a new or changed article.
    virtual void writeArticle(Recordset& record, bool adding) = 0;
    // Lists again after a save or a delete.
    virtual void refresh();
    void showArticle(const Recordset& record);

    void fillList(Recordset& records);
    void clearList();
    // Runs a statement and lists what it finds.
    void listArticles(const Statement& statement);
    const QString& table() const { return m_settings.table; }
    QString searchType() const;
    QString keyword() const;
    QString editType() const;
    QString title() const;
    QString text() const;
    void setEnterSearches(bool on) { m_enterSearches = on; }

    QGroupBox* searchGroup() const { return m_searchGroup; }
    QHBoxLayout* searchOptions() const { return m_searchOptions; }
    QLineEdit* keywordEdit() const { return m_keywordEdit; }
    QComboBox* editTypeCombo() const { return m_editTypeCombo; }
    QLineEdit* titleEdit() const { return m_titleEdit; }
    QPlainTextEdit* displayEdit() const { return m_displayEdit; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showMarked(bool clicked) override;
    Result deleteRecords(const QList<qint64>& ids) override;
    void afterDelete() override;

private:
    QWidget* buildSearchSide();
    QWidget* buildEditSide();
    void loadTypes();
    void clearFields();
    void setFieldsEnabled(bool enabled);
    // The article being read gets the page's room; while one is edited, the editing box does.
    void giveRoomToEditing(bool editing);
    bool typeKnown(const QString& type);

    Settings m_settings;
    bool m_enterSearches = false;
    bool m_typesLoaded = false;

    QGroupBox* m_searchGroup;
    QGroupBox* m_shownGroup;
    QComboBox* m_searchTypeCombo;
    QLineEdit* m_keywordEdit;
    QHBoxLayout* m_searchOptions;
    RecordListModel* m_model;
    QPlainTextEdit* m_displayEdit;
    QComboBox* m_editTypeCombo;
    QLineEdit* m_titleEdit;
    QPlainTextEdit* m_textEdit;
};
