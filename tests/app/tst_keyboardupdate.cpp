// The demo update done with the keyboard alone: the real program over the demo world in a private desktop,
// and keys typed through the window system (xdotool), as a person types them: Enter for each page's main
// button, arrows and Space in the lists and the map tree, Tab and Shift+Tab, Escape to go back. After each
// key the test waits for what the key should bring, and checks that the focus went into each new page.

#include "demoprogram.h"
#include "privatedesktop.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

constexpr int stepTimeoutMs = 120000;

bool type(const char *key)
{
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QLatin1String(key)}) == 0;
}

QString currentRow(const QTreeWidget *tree)
{
    return tree->currentItem() ? tree->currentItem()->text(0) : QString();
}

} // namespace

#define TYPE(key) QVERIFY2(type(key), key)
#define WAIT(condition) QVERIFY2(QTest::qWaitFor([&] { return bool(condition); }, stepTimeoutMs), #condition)

class TestKeyboardUpdate : public QObject
{
    Q_OBJECT

private:
    DemoSession m_session;
    DemoProgram *m_program = nullptr;

    QWidget *page(const char *name) const { return m_program->window->findChild<QWidget *>(QLatin1String(name)); }
    QPushButton *button(const char *name) const { return m_program->window->findChild<QPushButton *>(QLatin1String(name)); }

    // The page is shown and the focus is inside it.
    bool arrived(const char *name) const
    {
        return m_program->page() == QLatin1String(name) && page(name)->isAncestorOf(QApplication::focusWidget());
    }

    // Moves the tree's current row with the key until it is the row that starts with the text.
    void moveTo(QTreeWidget *tree, const QString &start, const char *key)
    {
        for (int i = 0; i < 20 && !currentRow(tree).startsWith(start); ++i) {
            const QString before = currentRow(tree);
            TYPE(key);
            WAIT(currentRow(tree) != before);
        }
        QVERIFY2(currentRow(tree).startsWith(start), qPrintable(currentRow(tree)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
    }

    void wholeUpdateByKeyboard()
    {
        DemoProgram program(m_session.serverUrl());
        m_program = &program;
        // No window manager gives the window the focus on this display.
        program.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(program.window.get()));

        // Enter presses the main button: the device, its navigator and the navigator update as offered.
        WAIT(arrived("selectDevicePage"));
        TYPE("Return");
        WAIT(arrived("selectKorwindPage"));
        TYPE("Return");
        WAIT(arrived("selectNaviUpdatePage"));
        TYPE("Return");

        // The card: nothing is chosen until an arrow key chooses; the device's memory is the second.
        WAIT(arrived("selectContentPage"));
        auto *cards = page("selectContentPage")->findChild<QListWidget *>();
        QCOMPARE(QApplication::focusWidget(), cards);
        QCOMPARE(cards->currentRow(), -1);
        QVERIFY(!button("updateButton")->isEnabled());
        TYPE("Down");
        WAIT(cards->currentRow() == 0);
        TYPE("Down");
        WAIT(cards->currentRow() == 1);
        QVERIFY2(cards->currentItem()->text().startsWith("NAVI: device memory, "), qPrintable(cards->currentItem()->text()));
        QVERIFY(cards->currentItem()->isSelected());
        WAIT(button("updateButton")->isEnabled());
        TYPE("Return");

        // The maps: Russia opened with the right arrow, Russia, Central and Belarus chosen with Space.
        WAIT(arrived("selectMapUpdatePage"));
        auto *tree = page("selectMapUpdatePage")->findChild<QTreeWidget *>(QStringLiteral("mapTree"));
        QCOMPARE(QApplication::focusWidget(), tree);
        moveTo(tree, QStringLiteral("Russia, version"), "Down");
        TYPE("Right");
        WAIT(tree->currentItem()->isExpanded());
        moveTo(tree, QStringLiteral("Russia, Central, version"), "Down");
        TYPE("space");
        WAIT(tree->currentItem()->data(0, Qt::AccessibleTextRole).toString().endsWith(QStringLiteral(", Will be updated")));
        moveTo(tree, QStringLiteral("Belarus, version"), "Up");
        TYPE("space");
        WAIT(tree->currentItem()->data(0, Qt::AccessibleTextRole).toString().endsWith(QStringLiteral(", Will be installed")));

        // Another card is one stop after the tree, and Shift+Tab comes back.
        TYPE("Tab");
        WAIT(QApplication::focusWidget() == button("storageCardButton"));
        TYPE("shift+Tab");
        WAIT(QApplication::focusWidget() == tree);

        // The warning about the maps to be removed; Escape goes back to the maps as they were chosen.
        TYPE("Return");
        WAIT(arrived("deletionWarningPage"));
        TYPE("Escape");
        WAIT(arrived("selectMapUpdatePage"));
        TYPE("Return");
        WAIT(arrived("deletionWarningPage"));
        TYPE("Return");

        // The job keeps the focus on "Cancel"; the success page takes it.
        WAIT(program.page() == QLatin1String("updatesStagesPage"));
        WAIT(QApplication::focusWidget() == button("cancelButton"));
        WAIT(arrived("successPage"));
        QVERIFY2(program.pageText(QStringLiteral("successPage")).startsWith(QStringLiteral("Update is successfully completed!")),
                 qPrintable(program.pageText(QStringLiteral("successPage"))));
        QCOMPARE(mapsOnTheDevice(m_session.world()), demoUpdateMaps(m_session.world()));
        m_program = nullptr;
    }
};

int main(int argc, char **argv)
{
    if (const int status = PrivateDesktop::runTestInside(argc, argv, false); status >= 0)
        return status;
    QApplication application(argc, argv);
    TestKeyboardUpdate test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_keyboardupdate.moc"
