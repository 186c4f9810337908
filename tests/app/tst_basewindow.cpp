#include "basewindow.h"
#include "scriptedservices.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

namespace {

template <typename Widget = QWidget>
Widget *child(const QWidget &window, const char *name)
{
    Widget *widget = window.findChild<Widget *>(QLatin1String(name));
    Q_ASSERT(widget);
    return widget;
}

// A window whose pages are names: each page method records a state that shows the same page again.
class PageWindow final : public BaseWindow
{
public:
    PageWindow(ScriptedDeviceServices *device, ScriptedNetworkServices *network, ScriptedPackageServices *packages)
        : BaseWindow(device, network, packages)
    {
    }

    QStringList entered;
    int secretSequences = 0;

    void page(const QString &name, int flags, STATE_TAG tag = ST_UNTAGGED)
    {
        entered.append(name);
        recordState([this, name, flags, tag] { page(name, flags, tag); }, flags, tag);
    }

    QStringList historyFlags() const
    {
        QStringList result;
        for (const auto &state : history())
            result.append(QString(state->isStable() ? "S" : "U") + (state->tag() ? "*" : ""));
        return result;
    }

    using BaseWindow::hideButton;
    using BaseWindow::setErrorPage;
    using BaseWindow::setSuccessPage;
    using BaseWindow::showButton;
    using BaseWindow::showExitButton;
    using BaseWindow::showPage;

protected:
    void showFirstPage() override { page("first", PageState::Stable); }
    void onSecretSequence() override { ++secretSequences; }
};

} // namespace

class TestBaseWindow : public QObject
{
    Q_OBJECT

private:
    ScriptedDeviceServices m_device;
    ScriptedNetworkServices m_network;
    ScriptedPackageServices m_packages;

private Q_SLOTS:
    void history_data()
    {
        // Pages are written "name:S" (stable), "name:U" (unstable) or "name:S1" (stable, tag 1).
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("entered");
        QTest::addColumn<QStringList>("historyAfter");

        QTest::newRow("back on an empty history") << QStringList() << "back" << QStringList() << QStringList();
        QTest::newRow("retry on an empty history") << QStringList() << "retry" << QStringList() << QStringList();
        QTest::newRow("back right after the first page")
            << QStringList({"first:S"}) << "back" << QStringList() << QStringList();
        QTest::newRow("retry after a choice with no operation before it")
            << QStringList({"choice:S", "error:U"}) << "retry" << QStringList() << QStringList();
        QTest::newRow("retry re-runs the last operation")
            << QStringList({"choice:S", "search:U", "error:U"}) << "retry" << QStringList({"search"})
            << QStringList({"S", "U"});
        QTest::newRow("back passes over operations")
            << QStringList({"devices:S", "choice:S", "search:U", "check:U", "error:U"}) << "back"
            << QStringList({"choice"}) << QStringList({"S", "S"});
        QTest::newRow("tagged return examines the current page first")
            << QStringList({"devices:S", "update:S1"}) << "tag" << QStringList({"update"}) << QStringList({"S", "S*"});
        QTest::newRow("tagged return over later pages")
            << QStringList({"devices:S", "update:S1", "download:U", "prepare:U"}) << "tag" << QStringList({"update"})
            << QStringList({"S", "S*"});
        QTest::newRow("tagged return with no tagged page empties the history")
            << QStringList({"devices:S", "download:U"}) << "tag" << QStringList() << QStringList();
        QTest::newRow("reset shows the first page alone")
            << QStringList({"devices:S", "download:U"}) << "reset" << QStringList({"first"}) << QStringList({"S"});
    }
    void history()
    {
        QFETCH(QStringList, pages);
        QFETCH(QString, action);
        QFETCH(QStringList, entered);
        QFETCH(QStringList, historyAfter);

        PageWindow window(&m_device, &m_network, &m_packages);
        for (const QString &page : pages) {
            const QString flags = page.section(':', 1);
            window.page(page.section(':', 0, 0), flags.startsWith('S') ? PageState::Stable : PageState::Unstable,
                        flags.endsWith('1') ? ST_NAVIGATOR_UPDATE_SELECTION : ST_UNTAGGED);
        }
        window.entered.clear();
        if (action == "back")
            window.showPreviousStableState();
        else if (action == "retry")
            window.showPreviousUnstableState();
        else if (action == "tag")
            window.callTaggedHistoryStep(ST_NAVIGATOR_UPDATE_SELECTION);
        else
            window.resetHistoryAndShowFirstPage();
        QCOMPARE(window.entered, entered);
        QCOMPARE(window.historyFlags(), historyAfter);
    }

    void backDropsOperationsForLaterRetries()
    {
        PageWindow window(&m_device, &m_network, &m_packages);
        window.page("choice", PageState::Stable);
        window.page("search", PageState::Unstable);
        window.page("list", PageState::Stable);
        window.showPreviousStableState();
        window.entered.clear();
        window.showPreviousUnstableState();
        QVERIFY(window.entered.isEmpty());
        QVERIFY(window.history().empty());
    }

    void noticePages()
    {
        PageWindow window(&m_device, &m_network, &m_packages);
        window.show();
        auto *pages = child<QStackedWidget>(window, "stackedWidget");
        auto *backButton = child<QPushButton>(window, "backButton");
        auto *updateButton = child<QPushButton>(window, "updateButton");
        int backs = 0;
        window.setErrorPage("It failed.", "Back", [&] { ++backs; });
        window.showErrorPage();
        QCOMPARE(pages->currentWidget(), child(window, "errorPage"));
        QCOMPARE(child<QPushButton>(window, "cancelButton")->accessibleName(), QString("Exit"));
        QVERIFY(backButton->isVisible());
        QVERIFY(!updateButton->isVisible());
        backButton->click();
        QCOMPARE(backs, 1);
        QCOMPARE(window.historyFlags(), QStringList({"U"}));

        window.setSuccessPage("Done.", QString(), {}, "Search device", [] {});
        window.showSuccessPage();
        QCOMPARE(pages->currentWidget(), child(window, "successPage"));
        QVERIFY(!backButton->isVisible());
        QVERIFY(updateButton->isVisible());
        QCOMPARE(updateButton->text(), QString("Search &device"));
        QCOMPARE(updateButton->accessibleName(), QString("Search device"));

        // Going back to the error page shows it as it was, buttons included.
        window.page("choice", PageState::Stable);
        window.showPreviousUnstableState();
        QCOMPARE(pages->currentWidget(), child(window, "errorPage"));
        QVERIFY(backButton->isVisible());
        backButton->click();
        QCOMPARE(backs, 2);
    }

    void keysPressTheBarButtons_data()
    {
        // The bar is "left|middle|right", "-" for a hidden button and "!" after a disabled one; the key is
        // typed on the focused control, which is the page's unless "focus" names a button.
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pressed");
        QTest::newRow("Enter presses the main button") << "Exit|Back|Next" << "" << int(Qt::Key_Return) << "Next";
        QTest::newRow("Enter of the keypad as well") << "Exit|Back|Next" << "" << int(Qt::Key_Enter) << "Next";
        QTest::newRow("Enter leaves a disabled main button alone") << "Exit|Back|Next!" << "" << int(Qt::Key_Return) << "";
        QTest::newRow("Enter presses the focused button") << "Exit|Back|Next" << "backButton" << int(Qt::Key_Return)
                                                          << "Back";
        QTest::newRow("Escape goes back") << "Exit|Back|Next" << "" << int(Qt::Key_Escape) << "Back";
        QTest::newRow("Escape never presses Exit") << "Exit|-|Retry" << "" << int(Qt::Key_Escape) << "";
        QTest::newRow("Escape cancels an operation") << "Cancel|-|-" << "" << int(Qt::Key_Escape) << "Cancel";
        QTest::newRow("Alt with a mnemonic") << "Exit|Back|Next" << "" << int(Qt::AltModifier | Qt::Key_B) << "Back";
    }
    void keysPressTheBarButtons()
    {
        QFETCH(QString, bar);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, pressed);
        PageWindow window(&m_device, &m_network, &m_packages);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.showPage(child(window, "successPage"));
        QStringList presses;
        const QStringList texts = bar.split('|');
        const char *names[] = {"cancelButton", "backButton", "updateButton"};
        for (int i = 0; i < 3; ++i) {
            QString text = texts.at(i);
            auto *button = child<QPushButton>(window, names[i]);
            if (text == "-") {
                window.hideButton(button);
                continue;
            }
            const bool enabled = !text.endsWith('!');
            text.remove('!');
            if (text == "Exit")
                window.showExitButton();
            else
                window.showButton(button, text, [&presses, text] { presses.append(text); }, enabled);
        }
        if (!focus.isEmpty())
            child(window, qPrintable(focus))->setFocus();
        QVERIFY(QApplication::focusWidget());
        // Through the window, as the window system delivers a key: to the focused control, shortcuts first.
        QTest::keyClick(window.windowHandle(), Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
        // A mnemonic presses its button with a short animation.
        if (pressed.isEmpty())
            QCOMPARE(presses, QStringList());
        else
            QTRY_COMPARE(presses, QStringList{pressed});
        QVERIFY(window.isVisible()); // Exit was not pressed
    }

    void mnemonicsOfTheBar_data()
    {
        // The main button first, then Back, then the left one; the header's "Settings" holds S.
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("first letters") << QStringList{"Next", "Back", "Exit"} << QStringList{"&Next", "&Back", "&Exit"};
        QTest::newRow("the header's letter is passed over")
            << QStringList{"Search device", "Back", "Exit"} << QStringList{"Search &device", "&Back", "&Exit"};
        QTest::newRow("then any free letter")
            << QStringList{"Search device", "Select device", "Exit"} << QStringList{"Search &device", "S&elect device", "E&xit"};
        QTest::newRow("an ampersand stays a character") << QStringList{"Maps & more", "Back", "Exit"}
                                                        << QStringList{"&Maps && more", "&Back", "&Exit"};
    }
    void mnemonicsOfTheBar()
    {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, shown);
        PageWindow window(&m_device, &m_network, &m_packages);
        window.showPage(child(window, "successPage"));
        QStringList result;
        for (const char *name : {"updateButton", "backButton", "cancelButton"}) {
            auto *button = child<QPushButton>(window, name);
            window.showButton(button, texts.value(int(result.size())), [] {});
            result.append(button->accessibleName());
        }
        QCOMPARE(result, texts);
        result.clear();
        for (const char *name : {"updateButton", "backButton", "cancelButton"})
            result.append(child<QPushButton>(window, name)->text());
        QCOMPARE(result, shown);
        QCOMPARE(child<QPushButton>(window, "settingsButton")->text(), QString("&Settings"));
    }

    void focusGoesIntoEachPage()
    {
        QStringList focused;
        PageWindow window(&m_device, &m_network, &m_packages);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *updateButton = child<QPushButton>(window, "updateButton");
        window.setErrorPage("It failed.", "Back", [] {}, "Retry", [] {});
        window.showErrorPage();
        QVERIFY(child(window, "errorPage")->isAncestorOf(QApplication::focusWidget()));

        // The focused main button goes with the page: focus does not stop at the header on its way.
        updateButton->setFocus();
        connect(qApp, &QApplication::focusChanged, &window, [&focused](QWidget *, QWidget *now) {
            focused.append(now ? now->objectName() : QString("-"));
        });
        window.setSuccessPage("Done.", QString(), {}, "Next", [] {});
        window.showSuccessPage();
        QVERIFY(child(window, "successPage")->isAncestorOf(QApplication::focusWidget()));
        QVERIFY2(!focused.contains("settingsButton"), qPrintable(focused.join(',')));

        // A page with no control of its own: the leftmost button that can be pressed.
        window.showButton(child<QPushButton>(window, "cancelButton"), "Cancel", [] {});
        window.hideButton(child<QPushButton>(window, "backButton"));
        window.hideButton(updateButton);
        window.showPage(child(window, "updatesStagesPage"));
        QCOMPARE(QApplication::focusWidget(), child(window, "cancelButton"));
        QVERIFY2(!focused.contains("settingsButton") && !focused.contains("updatesStagesPage"), qPrintable(focused.join(',')));
    }

    void headerAndVersion()
    {
        PageWindow window(&m_device, &m_network, &m_packages);
        QCOMPARE(window.windowTitle(), QString("Korwind Navigator update center"));
        QCOMPARE(child<QLabel>(window, "version")->text(), QString("v1.0.7.17"));
        QVERIFY(!window.windowIcon().isNull());
    }

    void serverErrorText_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("text");
        QTest::newRow("server unavailable")
            << 4 << "Maintenance." << ""
            << "Maintenance.\nServer is not currently available. Please, try again later or contact technical "
               "support services.";
        QTest::newRow("other code: the message") << 2 << "Bad request." << "detail" << "Bad request.";
        QTest::newRow("no message: the detail") << -1 << "" << "Connection refused" << "Connection refused";
    }
    void serverErrorText()
    {
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(QString, detail);
        QFETCH(QString, text);
        QCOMPARE(BaseWindow::serverErrorText(UpdateCheckError{code, message, detail}), text);
    }

    void secretSequence_data()
    {
        // Keys are typed; "|" changes the page, "^" presses the mouse, "#" posts the rest from the program.
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("triggered");
        QTest::newRow("the word") << "WAYPOINTS" << 1;
        QTest::newRow("small letters") << "waypoints" << 1;
        QTest::newRow("twice") << "WAYPOINTSWAYPOINTS" << 2;
        QTest::newRow("another key in between") << "WAYPXOINTS" << 0;
        QTest::newRow("doubled first letter") << "WWAYPOINTS" << 1;
        QTest::newRow("a fresh W restarts") << "WAYWAYPOINTS" << 1;
        QTest::newRow("page change cancels") << "WAYP|OINTS" << 0;
        QTest::newRow("mouse press cancels") << "WAYP^OINTS" << 0;
        QTest::newRow("keys posted by the program") << "#WAYPOINTS" << 0;
    }
    void secretSequence()
    {
        QFETCH(QString, input);
        QFETCH(int, triggered);
        PageWindow window(&m_device, &m_network, &m_packages);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *pages = child<QStackedWidget>(window, "stackedWidget");
        bool posted = false;
        for (const QChar c : input) {
            if (c == '|') {
                pages->setCurrentIndex((pages->currentIndex() + 1) % pages->count());
            } else if (c == '^') {
                QTest::mouseClick(child(window, "version"), Qt::LeftButton);
            } else if (c == '#') {
                posted = true;
            } else if (posted) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (c.toUpper().unicode() - 'A'), Qt::NoModifier, c);
                QApplication::sendEvent(&window, &press);
            } else {
                // Typed keys reach the focus widget first, as they do for a person at the keyboard.
                QWidget *focus = QApplication::focusWidget();
                QTest::keyClick(focus ? focus : &window, c.toLatin1());
            }
        }
        QCOMPARE(window.secretSequences, triggered);
    }
};

QTEST_MAIN(TestBaseWindow)
#include "tst_basewindow.moc"
