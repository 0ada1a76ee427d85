#include "common/ui/CSkinDlg.h"
#include "common/CommonTr.h"

#include "common/ui/DialogService.h"
#include "common/ui/SkinChoice.h"
#include "common/ui/SkinEngine.h"
#include "data/tables/Skins.h"

#include <QCollator>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CSkinDlg::CSkinDlg(std::unique_ptr<SkinRecordset> table, const QString& caption, QWidget* parent)
    : QDialog(parent), m_table(std::move(table)), m_skinCombo(new QComboBox(this))
{
    setWindowTitle(caption);
    m_skinCombo->setObjectName(QStringLiteral("skinCombo"));
    m_skinCombo->setEditable(true);
    // A typed name is looked up, not added, so the list keeps its order.
    m_skinCombo->setInsertPolicy(QComboBox::NoInsert);
    m_skinCombo->setMinimumWidth(260);

    // Chinese names are sorted as a Chinese reader looks them up, by pinyin; the first entry is
    // preselected, whichever skin was chosen last.
    QStringList names = SkinChoice::offered(*m_table);
    const QCollator pinyin{QLocale(QLocale::Chinese, QLocale::China)};
    std::sort(names.begin(), names.end(), pinyin);
    m_skinCombo->addItems(names);
    m_skinCombo->setCurrentIndex(names.isEmpty() ? -1 : 0);

    auto* label = new QLabel(CommonTr::tr("皮肤文件(&S):"), this);
    label->setBuddy(m_skinCombo);
    m_skinCombo->setAccessibleName(CommonTr::tr("皮肤文件"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSkinDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_skinCombo);
    layout->addWidget(buttons);
}

CSkinDlg::~CSkinDlg() = default;

void CSkinDlg::accept()
{
    const QString name = m_skinCombo->currentText().trimmed();
    if (Result r = SkinChoice::choose(*m_table, name); !r) {
        DialogService::current().message(this, r.error(), DialogService::Icon::Warning);
        return;
    }
    m_chosen = name;
    QDialog::accept();
}

bool CSkinDlg::changeSkin(std::unique_ptr<SkinRecordset> table, const QString& caption, QWidget* parent)
{
    CSkinDlg dialog(std::move(table), caption, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    SkinEngine::loadSkinFile(SkinChoice::Folder + dialog.chosenSkin());
    return true;
}
