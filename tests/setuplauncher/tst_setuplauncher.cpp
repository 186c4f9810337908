// Starting a setup detached from the test, and through a stand-in for the elevation agent when the
// system refuses it for lack of permission.

#include "detachedsetuplauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

bool writeFile(const QString &path, const QByteArray &content, bool executable)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    return file.setPermissions(permissions);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// Records its argument count and session, then waits until the test lets it end, so that a launcher
// that waited for it would find it ended.
QByteArray setupScript(const QDir &folder)
{
    const QByteArray marker = QFile::encodeName(folder.filePath("marker"));
    const QByteArray release = QFile::encodeName(folder.filePath("release"));
    const QByteArray ended = QFile::encodeName(folder.filePath("ended"));
    return "#!/bin/sh\n"
           "set -- \"$#\" $(cat /proc/$$/stat | sed 's/.*) //')\n"
           "printf '%s %s\\n' \"$1\" \"$5\" > '" + marker + ".part' && mv '" + marker + ".part' '" + marker + "'\n"
           "i=0\n"
           "while [ ! -e '" + release + "' ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done\n"
           "touch '" + ended + "'\n";
}

// Stands in for the agent: records its arguments, then refuses with the given code or runs the program as
// a granting agent does, with none of its caller's descriptors beyond the standard three.
QByteArray agentScript(const QDir &folder, int refusal)
{
    const QByteArray arguments = QFile::encodeName(folder.filePath("agent-arguments"));
    QByteArray script = "#!/usr/bin/env python3\n"
                        "import os, sys\n"
                        "with open('" + arguments + "', 'w') as f:\n"
                        "    f.write(' '.join(sys.argv[1:]))\n";
    if (refusal != 0)
        return script + "sys.exit(" + QByteArray::number(refusal) + ")\n";
    return script + "os.closerange(3, 65536)\n"
                    "os.execv('/bin/sh', ['/bin/sh', sys.argv[1]])\n";
}

} // namespace

class TestSetupLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void start_data()
    {
        QTest::addColumn<QString>("setup");   // executable, plain, missing, not a program
        QTest::addColumn<QString>("agent");   // grants, dismisses, refuses, missing
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("agentAsked");
        QTest::newRow("executable: started without the agent") << "executable" << "grants" << true << false;
        QTest::newRow("no permission: started through the agent") << "plain" << "grants" << true << true;
        QTest::newRow("no permission, agent dismissed") << "plain" << "dismisses" << false << true;
        QTest::newRow("no permission, agent refuses") << "plain" << "refuses" << false << true;
        QTest::newRow("no permission, no agent") << "plain" << "missing" << false << false;
        QTest::newRow("missing setup: not elevated") << "missing" << "grants" << false << false;
        QTest::newRow("not a program: not elevated") << "not a program" << "grants" << false << false;
    }
    void start()
    {
        QFETCH(QString, setup);
        QFETCH(QString, agent);
        QFETCH(bool, started);
        QFETCH(bool, agentAsked);

        QTemporaryDir temporary;
        QVERIFY(temporary.isValid());
        const QDir folder(temporary.path());
        const QString setupPath = folder.filePath("setup");
        if (setup == "not a program")
            QVERIFY(writeFile(setupPath, QByteArray("\x7f" "ELF garbage", 12), true));
        else if (setup != "missing")
            QVERIFY(writeFile(setupPath, setupScript(folder), setup == "executable"));
        const QString agentPath = folder.filePath("agent");
        if (agent != "missing")
            QVERIFY(writeFile(agentPath, agentScript(folder, agent == "dismisses" ? 126 : agent == "refuses" ? 127 : 0),
                              true));

        const DetachedSetupLauncher launcher(agentPath);
        QCOMPARE(launcher.start(setupPath), started);
        const bool endedAtReturn = QFileInfo::exists(folder.filePath("ended"));
        QCOMPARE(readFile(folder.filePath("agent-arguments")), agentAsked ? QFile::encodeName(setupPath) : QByteArray());
        if (started) {
            QTRY_VERIFY(QFileInfo::exists(folder.filePath("marker")));
            const QList<QByteArray> marker = readFile(folder.filePath("marker")).split(' ');
            QCOMPARE(marker.value(0), QByteArray("0"));
            // A session of its own: the setup outlives whatever ends this program's session.
            // (Inside a container this program's session may read as 0: its leader lives outside.)
            const qint64 session = marker.value(1).toLongLong();
            QVERIFY(session > 0);
            QVERIFY(session != qint64(::getsid(0)));
            QVERIFY2(!endedAtReturn, "the launcher waited for the setup to end");
            QVERIFY(writeFile(folder.filePath("release"), QByteArray(), false));
            QTRY_VERIFY(QFileInfo::exists(folder.filePath("ended")));
        } else {
            QVERIFY(!QFileInfo::exists(folder.filePath("marker")));
        }
    }
};

QTEST_GUILESS_MAIN(TestSetupLauncher)
#include "tst_setuplauncher.moc"
