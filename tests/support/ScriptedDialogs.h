#pragma once

#include "common/ui/DialogService.h"

#include <QPrinter>
#include <QQueue>
#include <QTest>

#include <functional>

// Test double of the dialog service. Messages are recorded; questions and file dialogs take
// their answers from queues. A question nobody queued an answer for fails the test at once
// instead of blocking it.
class ScriptedDialogs : public DialogService
{
public:
    struct Shown
    {
        QString text;
        QString caption;
    };

    ScriptedDialogs() { DialogService::install(this); }
    ~ScriptedDialogs() override { DialogService::install(nullptr); }

    void answerConfirm(bool ok)
    {
        m_confirmAnswers.enqueue([ok] { return ok; });
    }
    // Answers the next question with what answer returns; it runs while the question is open.
    void answerConfirm(std::function<bool()> answer) { m_confirmAnswers.enqueue(std::move(answer)); }
    void answerFiles(const QStringList& files) { m_fileAnswers.enqueue(files); }
    // The answer of the next save-file or folder dialog; empty for Cancel.
    void answerPath(const QString& path) { m_pathAnswers.enqueue(path); }
    // The answer of the next print dialog: what it does to the printer (say, print to a file),
    // and true for 打印, false for Cancel.
    void answerPrint(std::function<bool(QPrinter&)> answer) { m_printAnswers.enqueue(std::move(answer)); }

    void message(QWidget*, const QString& text, Icon, const QString& caption) override
    {
        m_shown.append({text, caption});
    }
    bool confirm(QWidget*, const QString& text, const QString& caption) override
    {
        m_shown.append({text, caption});
        if (m_confirmAnswers.isEmpty()) {
            m_unexpected.append(text);
            QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + text), __FILE__, __LINE__);
            return false;
        }
        return m_confirmAnswers.dequeue()();
    }
    QStringList chooseFiles(QWidget*, const QString& caption, const QString&) override
    {
        if (m_fileAnswers.isEmpty()) {
            m_unexpected.append(caption);
            QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + caption), __FILE__, __LINE__);
            return {};
        }
        return m_fileAnswers.dequeue();
    }
    QString chooseSaveFile(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return nextPath(caption);
    }
    QString chooseFolder(QWidget*, const QString& caption) override { return nextPath(caption); }
    bool choosePrinter(QWidget*, QPrinter& printer) override
    {
        if (m_printAnswers.isEmpty()) {
            m_unexpected.append(QStringLiteral("print dialog"));
            QTest::qFail("unexpected print dialog", __FILE__, __LINE__);
            return false;
        }
        return m_printAnswers.dequeue()(printer);
    }

    QStringList texts() const
    {
        QStringList list;
        for (const Shown& s : m_shown)
            list << s.text;
        return list;
    }
    const QList<Shown>& shown() const { return m_shown; }
    QString last() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    // The texts shown since the last call; the record is cleared.
    QStringList take()
    {
        const QStringList list = texts();
        m_shown.clear();
        return list;
    }
    const QStringList& unexpected() const { return m_unexpected; }

private:
    QString nextPath(const QString& caption)
    {
        if (m_pathAnswers.isEmpty()) {
            m_unexpected.append(caption);
            QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + caption), __FILE__, __LINE__);
            return {};
        }
        return m_pathAnswers.dequeue();
    }

    QList<Shown> m_shown;
    QQueue<std::function<bool()>> m_confirmAnswers;
    QQueue<QStringList> m_fileAnswers;
    QQueue<QString> m_pathAnswers;
    QQueue<std::function<bool(QPrinter&)>> m_printAnswers;
    QStringList m_unexpected;
};
