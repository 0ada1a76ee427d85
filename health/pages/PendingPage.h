#pragma once

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

// A page whose records are not kept yet: it says so instead of showing an empty tab.
class PendingPage : public QWidget
{
public:
    PendingPage(const QString& objectName, QWidget* parent) : QWidget(parent)
    {
        setObjectName(objectName);
        auto* note = new QLabel(tr("这个页面将在下一个版本中提供。"), this);
        note->setAlignment(Qt::AlignCenter);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(note);
    }
};
