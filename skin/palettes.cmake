# The shipped skins: file name, then the colours put into skin.qss.in.
# Keys: BG PANEL TEXT ACCENT ACCENT_DARK ACCENT_TEXT HOVER HOVER_ACCENT BORDER INPUT_BG ALT_ROW
#       SELECT_BG SELECT_TEXT HEADER_BG HEADER_TEXT TAB_BG DISABLED_BG DISABLED_TEXT FOCUS HANDLE TITLE ARROW
# Every text keeps a contrast of at least 4.5:1 with what it is drawn on (tests/skin checks it):
# ACCENT_TEXT on ACCENT, HOVER_ACCENT and ACCENT_DARK (buttons, the chosen tab), SELECT_TEXT on
# SELECT_BG, DISABLED_TEXT on DISABLED_BG, TITLE (group box titles, also the rims of radio buttons
# and check boxes) and TEXT on BG and PANEL, and so on. White text needs a deep accent; the orange and night skins keep their light accents and
# put dark text on them instead.
set(KESTRIN_SKINS 天空蓝 森林绿 暖阳橙 夜幕灰)

set(天空蓝_COLOURS
    "#eef5fc" "#f7fbff" "#1f2d3d" "#2575bc" "#1b5a94" "#ffffff" "#d6e8f8" "#1f69aa" "#a9c8e6" "#ffffff"
    "#f1f7fd" "#2575bc" "#ffffff" "#d9e9f7" "#1f3f5e" "#e2eef9" "#e4e9ee" "#5b6774" "#f0a030" "#a9c8e6"
    "#1b5a94" arrow-dark.png)
set(森林绿_COLOURS
    "#eef6ee" "#f7fbf6" "#1e2f22" "#2f7a45" "#235c34" "#ffffff" "#d5ebd9" "#2a6f3f" "#a7cdb0" "#ffffff"
    "#f0f7f1" "#2f7a45" "#ffffff" "#d8ecdc" "#1e3e27" "#e0efe3" "#e4eae5" "#5c695e" "#e0a020" "#a7cdb0"
    "#235c34" arrow-dark.png)
set(暖阳橙_COLOURS
    "#fff6ec" "#fffaf4" "#3a2a1c" "#e8873a" "#f0a260" "#2b1a0c" "#fde3cb" "#f29d55" "#e6c3a0" "#ffffff"
    "#fff3e6" "#e8873a" "#2b1a0c" "#fbe0c6" "#5a3618" "#fdebd9" "#efe7df" "#6e6259" "#3b8fd9" "#e6c3a0"
    "#8f4510" arrow-dark.png)
set(夜幕灰_COLOURS
    "#2b2f36" "#333842" "#e6e9ee" "#7aa3f2" "#a3bff5" "#10161f" "#3d4450" "#93b5f5" "#4a515e" "#22262c"
    "#2f343c" "#7aa3f2" "#10161f" "#3a404b" "#e6e9ee" "#353b45" "#3a3f47" "#a9aeb6" "#f0b040" "#5a6270"
    "#9db8ee" arrow-light.png)
