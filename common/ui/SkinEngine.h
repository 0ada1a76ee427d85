#pragma once

#include <QString>

class QWidget;

// Draws every window of the program in the chosen skin. A skin file is a Qt style sheet;
// loading one restyles all windows of the program at once. Style sheets may address a scheme
// with the selector [skinScheme="Dialog"].
class SkinEngine
{
public:
    // Starts the engine for this program; key names the program to the engine.
    static void init(const QString& applicationKey);
    // Loads a skin file and applies it to every window. A file that is missing or cannot be
    // read leaves the current look as it is; returns whether the skin was applied.
    static bool loadSkinFile(const QString& path);
    // Chooses the scheme that windows take unless they ask for another.
    static void chooseScheme(const QString& scheme);
    // Applies a scheme to one window (the main window of health and growth).
    static void applyToWindow(QWidget* window, const QString& scheme);
    // Applies a scheme to one window (the main window of Reelbox).
    static void applySchemeToWindow(QWidget* window, const QString& scheme);
    // A per-window setting, available to style sheets as [skinSetting="N"].
    static void setWindowSetting(QWidget* window, int value);
    // Returns the program to its default look.
    static void shutdown();

    static const QString& applicationKey();
    static const QString& currentSkinFile();
    static const QString& scheme();
};
