# The shipped skins: file name, then the colours put into skin.qss.in.
# Keys: BG PANEL TEXT ACCENT ACCENT_DARK ACCENT_TEXT HOVER HOVER_ACCENT BORDER INPUT_BG ALT_ROW
#       SELECT_BG SELECT_TEXT HEADER_BG HEADER_TEXT TAB_BG DISABLED_BG DISABLED_TEXT FOCUS HANDLE ARROW
set(KESTRIN_SKINS 天空蓝 森林绿 暖阳橙 夜幕灰)

set(天空蓝_COLOURS
    "#eef5fc" "#f7fbff" "#1f2d3d" "#3b8fd9" "#2a6fae" "#ffffff" "#d6e8f8" "#5aa5e6" "#a9c8e6" "#ffffff"
    "#f1f7fd" "#3b8fd9" "#ffffff" "#d9e9f7" "#1f3f5e" "#e2eef9" "#e4e9ee" "#8a96a3" "#f0a030" "#a9c8e6" arrow-dark.png)
set(森林绿_COLOURS
    "#eef6ee" "#f7fbf6" "#1e2f22" "#3f9a5a" "#2c7443" "#ffffff" "#d5ebd9" "#56b071" "#a7cdb0" "#ffffff"
    "#f0f7f1" "#3f9a5a" "#ffffff" "#d8ecdc" "#1e3e27" "#e0efe3" "#e4eae5" "#8a998d" "#e0a020" "#a7cdb0" arrow-dark.png)
set(暖阳橙_COLOURS
    "#fff6ec" "#fffaf4" "#3a2a1c" "#e8873a" "#b8631f" "#ffffff" "#fde3cb" "#f29d55" "#e6c3a0" "#ffffff"
    "#fff3e6" "#e8873a" "#ffffff" "#fbe0c6" "#5a3618" "#fdebd9" "#efe7df" "#9c8f84" "#3b8fd9" "#e6c3a0" arrow-dark.png)
set(夜幕灰_COLOURS
    "#2b2f36" "#333842" "#e6e9ee" "#5b8def" "#3f6fcf" "#ffffff" "#3d4450" "#7aa3f2" "#4a515e" "#22262c"
    "#2f343c" "#5b8def" "#ffffff" "#3a404b" "#e6e9ee" "#353b45" "#3a3f47" "#7d8590" "#f0b040" "#5a6270" arrow-light.png)
