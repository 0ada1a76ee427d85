#include "common/ui/SkinEngine.h"

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QWidget>

namespace {

struct EngineState
{
    QString key;
    QString file;
    QString scheme;
};

EngineState& state()
{
    static EngineState s;
    return s;
}

void repolish(QWidget* window)
{
    window->style()->unpolish(window);
    window->style()->polish(window);
    window->update();
}

} // namespace

void SkinEngine::init(const QString& applicationKey)
{
    state() = EngineState{applicationKey, {}, {}};
}

bool SkinEngine::loadSkinFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString sheet = QString::fromUtf8(file.readAll());
    qApp->setStyleSheet(sheet);
    state().file = path;
    return true;
}

void SkinEngine::chooseScheme(const QString& scheme)
{
    state().scheme = scheme;
}

void SkinEngine::applyToWindow(QWidget* window, const QString& scheme)
{
    window->setProperty("skinScheme", scheme);
    repolish(window);
}

void SkinEngine::applySchemeToWindow(QWidget* window, const QString& scheme)
{
    applyToWindow(window, scheme);
}

void SkinEngine::setWindowSetting(QWidget* window, int value)
{
    window->setProperty("skinSetting", QString::number(value));
    repolish(window);
}

void SkinEngine::shutdown()
{
    if (qApp)
        qApp->setStyleSheet(QString());
    state() = EngineState{};
}

const QString& SkinEngine::applicationKey()
{
    return state().key;
}

const QString& SkinEngine::currentSkinFile()
{
    return state().file;
}

const QString& SkinEngine::scheme()
{
    return state().scheme;
}
