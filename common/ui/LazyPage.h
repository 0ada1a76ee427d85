#pragma once

#include <QWidget>

#include <functional>

// A tab that builds its page the first time it is shown, so a window with many pages opens
// quickly. The page is kept once built.
class LazyPage : public QWidget
{
    Q_OBJECT

public:
    using Factory = std::function<QWidget*()>;
    explicit LazyPage(Factory factory, QWidget* parent = nullptr);

    // The page, built now if it was not yet.
    QWidget* page();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Factory m_factory;
    QWidget* m_page = nullptr;
};
