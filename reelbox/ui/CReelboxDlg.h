#pragma once

#include "common/ui/MainWindowBase.h"
#include "media/MediaKind.h"
#include "reelbox/ChosenFiles.h"

#include <QUrl>

class CPictureViewDlg;
class CWMPPlayer4;
class CatalogueListModel;
class DialogUnitLayout;
class LimitedTextEdit;
class PictureFrame;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListView;
class QPushButton;
class QTableView;

// The main window of Reelbox, the media catalogue: the search group and the result list on the
// left, the player (or, after a picture search, the picture frame) on the right, and below it
// the add group that files chosen files under a type, a date, a keyword and a description.
class CReelboxDlg : public MainWindowBase
{
    Q_OBJECT

public:
    explicit CReelboxDlg(QWidget* parent = nullptr);
    ~CReelboxDlg() override;

    // The welcome animation, played in the player at start.
    static inline const QString WelcomeAnimation = QStringLiteral("catoon.avi");
    // Description and add keyword hold at most this many characters.
    static constexpr int MaxDescription = 2000;
    static constexpr int MaxKeyword = 20;

    CWMPPlayer4* player();
    PictureFrame* pictureFrame() const { return m_frame; }
    CPictureViewDlg* viewer();
    CatalogueListModel* listModel() const { return m_model; }
    QTableView* resultList() const { return m_list; }
    // The same list as a grid of thumbnails with the names under them.
    QListView* thumbnailGrid() const { return m_grid; }
    bool showingThumbnailGrid() const;
    // Set while the list holds the result of a picture search.
    bool showingPictures() const { return m_showingPictures; }
    // Full path of the file last selected in the list.
    const QString& currentFile() const { return m_currentFile; }
    const ChosenFiles& chosenFiles() const { return m_chosen; }

    // Takes files dropped on the add group as if they had been chosen with "浏览...".
    void dropFiles(const QList<QUrl>& urls);

    // The setting that keeps the list's view.
    static inline const QString GridSetting = QStringLiteral("reelbox_thumbnail_grid");

public slots:
    void showAbout() override;
    void browse();
    // Shows the list as a grid of thumbnails, or as the report, and remembers the choice.
    void showThumbnailGrid(bool grid);
    void addFiles();
    void search();
    void deleteSelected();
    void changeSkin();
    void showHelp();
    // Full screen for sounds and videos; the picture viewer while pictures are listed.
    void fullScreen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void fillLists();
    void buildGrid();
    // How many pixels the thumbnails of the report or the grid take on this screen.
    int thumbnailPixels(bool grid) const;
    // Makes files the chosen files, as "浏览..." does with what the dialog gives.
    void choose(const QStringList& files);
    // The add type, read from its box; false, after saying what is wrong, without one.
    bool addKind(MediaKind& kind);
    void startWelcomeAnimation();
    void showPlayer(bool player);
    void selectRow();
    void openViewer();
    void fillAddGroup(qint32 id);
    void clearAddChoices();
    void message(const QString& text);
    void warning(const QString& text);
    using BoxReader = ResultOf<QString> (*)(const QString& typed, const QString& box);
    // Reads what combo shows into value; false, after saying what is wrong, when reader refuses
    // it. box names the box in that message.
    bool readBox(const QComboBox* combo, BoxReader reader, const QString& box, QString& value);

    DialogUnitLayout* m_layout;
    QLineEdit* m_searchKeyword;
    QComboBox* m_searchYear;
    QComboBox* m_searchMonth;
    QComboBox* m_searchDay;
    QComboBox* m_searchType;
    QPushButton* m_deleteButton;
    QTableView* m_list;
    QListView* m_grid = nullptr;
    QCheckBox* m_gridCheck = nullptr;
    CatalogueListModel* m_model;
    QGroupBox* m_frameGroup;
    PictureFrame* m_frame;
    CWMPPlayer4* m_player = nullptr;
    QComboBox* m_addType;
    QComboBox* m_addYear;
    QComboBox* m_addMonth;
    QComboBox* m_addDay;
    QLineEdit* m_path;
    QLineEdit* m_addKeyword;
    LimitedTextEdit* m_description;
    CPictureViewDlg* m_viewer = nullptr;

    ChosenFiles m_chosen;
    QString m_currentFile;
    bool m_showingPictures = false;
    bool m_welcomed = false;
    int m_lastSelectedRow = -1;
};
