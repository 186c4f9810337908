// The demo update done through the desktop's accessibility interface alone, as a screen reader drives a
// program: the real program over the demo world, shown in a private desktop with the accessibility bus,
// and a script (atspiupdate.py, run with the system's Python and pyatspi) that finds every control by its
// role and name, checks names and focus on the way, and goes through to the success page. The test then
// looks at what reached the device.

#include "demoprogram.h"
#include "privatedesktop.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

constexpr int driverTimeoutMs = 600000;

} // namespace

class TestAccessibleUpdate : public QObject
{
    Q_OBJECT

private:
    DemoSession m_session;

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
    }

    void wholeUpdateThroughTheAccessibilityInterface()
    {
        DemoProgram program(m_session.serverUrl());
        // No window manager gives the window the focus on this display.
        program.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(program.window.get()));

        // The script says what it does and why it failed in the test's output.
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedChannels);
        driver.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(VKT_ATSPI_DRIVER), QString::number(QCoreApplication::applicationPid())});
        QVERIFY2(driver.waitForStarted(), qPrintable(driver.errorString()));
        // The program answers the script's questions from its event loop, which runs until the script ends;
        // it runs undisturbed, since each of the script's many questions waits for an answer.
        QEventLoop loop;
        connect(&driver, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(driverTimeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(driver.state(), QProcess::NotRunning);
        QVERIFY(driver.exitStatus() == QProcess::NormalExit);
        QCOMPARE(driver.exitCode(), 0);
        QCOMPARE(program.page(), QStringLiteral("successPage"));

        QCOMPARE(mapsOnTheDevice(m_session.world()), demoUpdateMaps(m_session.world()));
    }
};

int main(int argc, char **argv)
{
    if (const int status = PrivateDesktop::runTestInside(argc, argv, true); status >= 0)
        return status;
    QApplication application(argc, argv);
    TestAccessibleUpdate test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessibleupdate.moc"
