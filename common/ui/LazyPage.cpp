#include "common/ui/LazyPage.h"

#include <QVBoxLayout>

LazyPage::LazyPage(Factory factory, QWidget* parent) : QWidget(parent), m_factory(std::move(factory))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWidget* LazyPage::page()
{
    if (!m_page) {
        m_page = m_factory();
        layout()->addWidget(m_page);
    }
    return m_page;
}

void LazyPage::showEvent(QShowEvent* event)
{
    page();
    QWidget::showEvent(event);
}
