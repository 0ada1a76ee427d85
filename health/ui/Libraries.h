#pragma once

#include "health/ui/LibraryPage.h"

// "体能训练": physical training for children, by type from table tneng.
class CTN : public LibraryPage<CTNRONG, CTNXL>
{
public:
    explicit CTN(QWidget* parent = nullptr);
};

// "基本营养信息": nutrition, by type from table yyang.
class CYYANG : public LibraryPage<CYNRONG, CYL>
{
public:
    explicit CYYANG(QWidget* parent = nullptr);
};

// "婴幼儿健康": infant health, in three fixed types.
class CCHILD : public LibraryPage<CRECCHILD>
{
public:
    explicit CCHILD(QWidget* parent = nullptr);
};

// "健康妈咪": for mothers, in six fixed types.
class CWMAN : public LibraryPage<CREWOMAN>
{
public:
    explicit CWMAN(QWidget* parent = nullptr);
};
