#pragma once

#include "common/Result.h"
#include "data/Records.h"

#include <QFlags>
#include <QList>
#include <QWidget>

class IdListModel;
class QPushButton;
class QTableView;
class Recordset;

// The mechanics every editing page shares, whatever its table: the editing mode, the page's
// five editing buttons and their states, the record list with its marked and selected rows,
// deleting the selected records in one transaction, and the page's messages. Record pages,
// article pages, the measurement page and the growth pages build on it; each adds its fields
// and says what its buttons do.
class EditingPage : public QWidget
{
    Q_OBJECT

public:
    enum class EditMode
    {
        None,
        Adding,
        Changing
    };
    enum Button
    {
        AddButton = 0x1,
        SaveButton = 0x2,
        ModifyButton = 0x4,
        DeleteButton = 0x8,
        UndoButton = 0x10
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    EditMode editMode() const { return m_editMode; }

public slots:
    virtual void beginAdding() = 0;
    virtual void beginChanging() = 0;
    virtual void save() = 0;
    virtual void undo() = 0;
    // Asks first, then deletes every selected record at once and lists again.
    void deleteSelected();

protected:
    explicit EditingPage(QWidget* parent);
    ~EditingPage() override;

    // Makes the five editing buttons with these captions (add, save, modify, delete, undo),
    // named addButton, saveButton, modifyButton, deleteButton and undoButton, and wires them.
    // A page without one of them gives an empty caption: that button is not made.
    void makeEditButtons(QWidget* parent, const QStringList& captions);
    // The button; nullptr for one the page does not have.
    QPushButton* button(Button which) const;
    void setButtonsEnabled(Buttons buttons, bool enabled);

    // Makes the record list over model: whole-row and multi-row selection, grid lines, the
    // given column widths. A click on the list (also where there is no row) and a move of the
    // marked row show the marked record through showMarked().
    QTableView* makeRecordList(QWidget* parent, IdListModel* model, const QList<int>& widths);
    QTableView* recordList() const { return m_list; }
    // To be called when the list's model was filled anew with every row it lists: the rows are
    // laid out at once, so that they are painted once, not before and again after their layout.
    void listFilled();
    // The key of the marked (current) row; 0 when there is none, or while a click below the rows
    // is being shown.
    qint64 markedId() const;
    // The keys of the selected rows, top to bottom.
    QList<qint64> selectedIds() const;

    // While a record is being added or changed the list is locked: a click, an arrow key or
    // the focus entering a refilled list must not replace what is being typed.
    void setEditMode(EditMode mode);

    // Shows the marked row's record; clicked is true for a click on the list, false when the
    // marked row moved (keyboard, or the list was filled).
    virtual void showMarked(bool clicked) = 0;
    // During showMarked(true): whether the click landed below the rows (a row may still be
    // marked from before).
    bool clickedBelowRows() const { return m_clickBelowRows; }
    // The records "删除" deletes, asked after the confirmation: the selected rows unless the page
    // says otherwise. A row that only has the keyboard focus is not selected.
    virtual QList<qint64> idsToDelete() { return selectedIds(); }
    // What "删除" asks first.
    virtual QString deleteQuestion();
    // What "删除" says when there is nothing to delete; nothing is said when it is empty.
    virtual QString noRecordChosenMessage() const;
    // Deletes the records with these keys, all or none.
    virtual Result deleteRecords(const QList<qint64>& ids) = 0;
    // Lists again after records were deleted.
    virtual void afterDelete() = 0;

    // The row of the record shown in the fields, as it was read, so that a change is saved only
    // while nobody else has changed the row.
    void rememberShown(const Recordset& record);
    const Records::RowVersion& shownVersion() const { return m_shownVersion; }
    // Tells the user that the row changed meanwhile, with every field where what is stored now
    // differs from what write would save; the user's text stays in the fields, and saving again
    // replaces what is stored now.
    void reportChangedMeanwhile(Recordset& current, const Records::Writer& write);

    // What a save says when nothing was changed, so nothing was written.
    static QString unchangedMessage();

    void message(const QString& text);
    // A question with OK and Cancel under the caption "系统提示"; true for OK.
    bool confirm(const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditMode m_editMode = EditMode::None;
    QList<QPushButton*> m_buttons;
    QTableView* m_list = nullptr;
    IdListModel* m_model = nullptr;
    Records::RowVersion m_shownVersion;
    bool m_clickBelowRows = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(EditingPage::Buttons)
