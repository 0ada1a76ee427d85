#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace Gui {

// The child of parent with the given object name; fails the test when there is none.
template <typename T> T* find(const QObject* parent, const QString& name)
{
    T* child = parent->findChild<T*>(name);
    if (!child)
        QTest::qFail(qPrintable(QStringLiteral("no child named ") + name), __FILE__, __LINE__);
    return child;
}

// Clicks a button as a user would: it must be visible and enabled.
inline bool click(QAbstractButton* button)
{
    if (!button || !button->isVisible() || !button->isEnabled()) {
        QTest::qFail(
            qPrintable(QStringLiteral("cannot click ") + (button ? button->objectName() : QStringLiteral("?"))),
            __FILE__, __LINE__);
        return false;
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

inline bool click(const QObject* parent, const QString& name)
{
    return click(find<QAbstractButton>(parent, name));
}

// Runs handler on the next modal window of type T once it is open, then lets the caller's
// modal loop go on. The handler must close the window (or the test times out).
template <typename T> void whenModal(std::function<void(T*)> handler)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, handler] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            handler(window);
        }
    });
    timer->start();
}

} // namespace Gui
