#include "backupmanagementwidget.h"
#include "connectionsettingswidget.h"
#include "mainsettingswidget.h"
#include "settingsvalues.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Answers the message box that is about to open with `button`, and keeps its text.
void answerNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr)
{
    QTimer::singleShot(0, [button, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

BackupInfo backup(const QString &title, const QString &description, const QDate &date)
{
    BackupInfo info;
    info.title = title;
    info.description = description;
    info.date = date;
    return info;
}

} // namespace

class TestSettingsPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void proxyFieldsFollowTheCheckBox();
    void checkSettings_data();
    void checkSettings();
    void nothingSavedHalfWay();
    void languageBox();
    void tabs();
    void backupList();
    void deleteQuestion_data();
    void deleteQuestion();

private:
    template<typename T>
    T *child(const QString &name) const
    {
        return m_page->findChild<T *>(name);
    }

    QTemporaryDir *m_folder = nullptr;
    SettingsValues m_values;
    QComboBox *m_languageBox = nullptr;
    MainSettingsWidget *m_page = nullptr;
};

void TestSettingsPages::init()
{
    m_folder = new QTemporaryDir;
    m_values = {};
    m_values.backupsDirectory = m_folder->filePath(QStringLiteral("backups"));
    m_values.downloadsDirectory = m_folder->filePath(QStringLiteral("downloads"));
    m_values.useProxy = true;
    m_values.proxyAddress = QStringLiteral("proxy.example");
    m_values.proxyPort = QStringLiteral("3128");
    m_values.languages = {QLocale(QStringLiteral("de_DE")), QLocale(QStringLiteral("ru_RU")),
                          QLocale(QStringLiteral("fr_FR")), QLocale(QStringLiteral("en_US"))};
    m_values.language = m_values.languages[1];

    m_languageBox = new QComboBox;
    m_page = new MainSettingsWidget;
    m_page->setLanguageBox(m_languageBox);
    m_page->load(m_values);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page));
}

void TestSettingsPages::cleanup()
{
    delete m_page;
    delete m_languageBox;
    delete m_folder;
}

void TestSettingsPages::proxyFieldsFollowTheCheckBox()
{
    auto *check = child<QCheckBox>(QStringLiteral("proxyCheck"));
    const QList<QWidget *> fields = {child<QLabel>(QStringLiteral("addressLabel")), child<QLineEdit>(QStringLiteral("addressEdit")),
                                     child<QLabel>(QStringLiteral("portLabel")), child<QLineEdit>(QStringLiteral("portEdit"))};
    for (QWidget *field : fields)
        QVERIFY(field->isEnabled());

    check->click();
    for (QWidget *field : fields)
        QVERIFY(!field->isEnabled());
    QCOMPARE(child<QLineEdit>(QStringLiteral("addressEdit"))->text(), QStringLiteral("proxy.example"));

    SettingsValues saved;
    QVERIFY(m_page->save(saved));
    QVERIFY(!saved.useProxy);
    QCOMPARE(saved.proxyAddress, QStringLiteral("proxy.example"));
    QCOMPARE(saved.proxyPort, QStringLiteral("3128"));

    // A page loaded with the proxy off starts with the fields locked.
    m_values.useProxy = false;
    m_page->load(m_values);
    QVERIFY(!check->isChecked());
    QVERIFY(!fields[1]->isEnabled());
    check->click();
    QVERIFY(fields[1]->isEnabled() && fields[3]->isEnabled());
}

void TestSettingsPages::checkSettings_data()
{
    QTest::addColumn<bool>("useProxy");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("backups");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");

    // "@" stands for the test's own folder.
    const QString ok = QStringLiteral("@/backups");
    const int none = SettingsProblem::None;
    const int portField = SettingsProblem::ProxyPort;
    const QString portMessage = QStringLiteral("The proxy port must be a number from 1 to 65535.");
    QTest::newRow("valid") << true << "proxy" << "65535" << ok << none << QString();
    QTest::newRow("port not a number") << true << "proxy" << "80a" << ok << portField << portMessage;
    QTest::newRow("port above 65535") << true << "proxy" << "65536" << ok << portField << portMessage;
    QTest::newRow("port far above 65535") << true << "proxy" << "99999999999" << ok << portField << portMessage;
    QTest::newRow("port 0") << true << "proxy" << "0" << ok << portField << portMessage;
    QTest::newRow("port signed") << true << "proxy" << "+80" << ok << portField << portMessage;
    QTest::newRow("no port") << true << "proxy" << "" << ok << portField << portMessage;
    QTest::newRow("no address") << true << " " << "80" << ok << int(SettingsProblem::ProxyAddress)
                                << "Enter the address of the proxy server, or switch the proxy off.";
    QTest::newRow("proxy off keeps any texts") << false << "" << "x" << ok << none << QString();
    QTest::newRow("no folder") << false << "" << "" << "" << int(SettingsProblem::BackupsDirectory)
                               << "Choose a folder to store the backups.";
    QTest::newRow("relative folder") << false << "" << "" << "backups" << int(SettingsProblem::BackupsDirectory)
                                     << "The folder to store the backups must be given with its full path.";
    QTest::newRow("folder under a file") << false << "" << "" << "@/file/backups" << int(SettingsProblem::BackupsDirectory)
                                         << "The folder to store the backups, \"%1\", cannot be created.";
    // Not even root may write there.
    QTest::newRow("folder not writable") << false << "" << "" << "/proc" << int(SettingsProblem::BackupsDirectory)
                                         << "The folder to store the backups, \"/proc\", cannot be written to.";
}

void TestSettingsPages::checkSettings()
{
    QFETCH(bool, useProxy);
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, backups);
    QFETCH(int, field);
    QFETCH(QString, message);

    QFile file(m_folder->filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsValues values = m_values;
    values.useProxy = useProxy;
    values.proxyAddress = address;
    values.proxyPort = port;
    values.backupsDirectory = backups.replace(QLatin1Char('@'), m_folder->path());

    const SettingsProblem problem = ::checkSettings(values);
    QCOMPARE(int(problem.field), field);
    QCOMPARE(problem.message, message.arg(values.backupsDirectory));
    if (field == SettingsProblem::None) {
        // Missing folders are created, and the write check leaves nothing behind.
        QVERIFY(QFileInfo(values.downloadsDirectory).isDir());
        QCOMPARE(QDir(values.backupsDirectory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 0);
    }
}

void TestSettingsPages::nothingSavedHalfWay()
{
    child<QCheckBox>(QStringLiteral("createBackups"))->setChecked(false);
    child<QLineEdit>(QStringLiteral("portEdit"))->setText(QStringLiteral("70000"));

    SettingsValues saved;
    saved.proxyPort = QStringLiteral("untouched");
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    QVERIFY(!m_page->save(saved));
    QCOMPARE(message, QStringLiteral("The proxy port must be a number from 1 to 65535."));
    QCOMPARE(saved.proxyPort, QStringLiteral("untouched"));
    QVERIFY(saved.createBackups);
    QCOMPARE(child<QTabWidget>(QStringLiteral("tabWidget"))->currentIndex(), 2);
    QCOMPARE(m_page->focusWidget(), child<QLineEdit>(QStringLiteral("portEdit")));

    child<QLineEdit>(QStringLiteral("portEdit"))->setText(QStringLiteral("8080"));
    QVERIFY(m_page->save(saved));
    QCOMPARE(saved.proxyPort, QStringLiteral("8080"));
    QVERIFY(!saved.createBackups);
    QCOMPARE(saved.backupsDirectory, m_values.backupsDirectory);
}

void TestSettingsPages::languageBox()
{
    QStringList names;
    for (int i = 0; i < m_languageBox->count(); ++i)
        names << m_languageBox->itemText(i);
    QCOMPARE(names, QStringList({QStringLiteral("German"), QStringLiteral("Русский"), QStringLiteral("French"),
                                 QStringLiteral("English")}));
    QCOMPARE(m_languageBox->currentIndex(), 1);
    QVERIFY(!m_languageBox->itemIcon(0).isNull());
    QVERIFY(m_languageBox->itemIcon(2).isNull()); // no flag drawn for it, still listed

    // Loading again is no choice of the user's.
    QSignalSpy changed(m_languageBox, &QComboBox::currentIndexChanged);
    m_page->load(m_values);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(m_languageBox->count(), 4);

    m_languageBox->setCurrentIndex(0);
    SettingsValues saved;
    QVERIFY(m_page->save(saved));
    QCOMPARE(saved.language, QLocale(QStringLiteral("de_DE")));
}

void TestSettingsPages::tabs()
{
    auto *tabs = child<QTabWidget>(QStringLiteral("tabWidget"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Backup management"));
    QSignalSpy listWanted(m_page, &MainSettingsWidget::updateListBackupInfo);

    child<QPushButton>(QStringLiteral("backupManagementButton"))->click();
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(listWanted.size(), 1);

    m_page->showConnectionTab();
    QCOMPARE(tabs->currentIndex(), 2);

    m_page->setBackupManagementEnabled(false);
    QVERIFY(!tabs->isTabEnabled(1));
    QVERIFY(!child<QPushButton>(QStringLiteral("backupManagementButton"))->isEnabled());
    QCOMPARE(listWanted.size(), 1);
}

void TestSettingsPages::backupList()
{
    BackupManagementWidget *list = m_page->backupManagement();
    auto *entries = list->findChild<QListWidget *>(QStringLiteral("entriesList"));
    auto *deleteButton = list->findChild<QPushButton *>(QStringLiteral("deleteButton"));
    QSignalSpy selected(list, &BackupManagementWidget::backupSelected);
    m_values.language = QLocale(QStringLiteral("en_US"));
    m_page->load(m_values);

    list->addBackups({backup(QStringLiteral("Before the spring update"), QStringLiteral("Maps of Russia"), QDate(2024, 3, 5)),
                      backup(QStringLiteral("Second"), QString(), QDate(2024, 4, 1))});
    QVERIFY(entries->isEnabled());
    QCOMPARE(entries->count(), 2);
    QCOMPARE(entries->item(0)->text(), QStringLiteral("Before the spring update, Tuesday, March 05, 2024\nMaps of Russia"));
    QCOMPARE(entries->item(1)->text(), QStringLiteral("Second, Monday, April 01, 2024"));
    QCOMPARE(entries->currentRow(), 0);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected[0][0].toInt(), 0);
    QCOMPARE(list->findChild<QLabel *>(QStringLiteral("detailsLabel"))->text(),
             QStringLiteral("Description:\nMaps of Russia\nDate: Tuesday, March 05, 2024"));
    QVERIFY(deleteButton->isEnabled());

    list->addBackups({});
    QVERIFY(!entries->isEnabled());
    QVERIFY(!deleteButton->isEnabled());
}

void TestSettingsPages::deleteQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("deletions");

    QTest::newRow("yes") << int(QMessageBox::Yes) << 1;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << 0;
}

void TestSettingsPages::deleteQuestion()
{
    QFETCH(int, answer);
    QFETCH(int, deletions);

    BackupManagementWidget *list = m_page->backupManagement();
    list->addBackups({backup(QStringLiteral("one"), QString(), QDate(2024, 3, 5))});
    QSignalSpy deleteWanted(list, &BackupManagementWidget::deleteButtonClicked);
    QString question;
    answerNextMessageBox(QMessageBox::StandardButton(answer), &question);
    list->findChild<QPushButton *>(QStringLiteral("deleteButton"))->click();

    QCOMPARE(question, QStringLiteral("You are going to delete a backup.\nAre you sure you want to continue?"));
    QCOMPARE(deleteWanted.size(), deletions);
    QCOMPARE(list->findChild<QListWidget *>(QStringLiteral("entriesList"))->count(), 1);
}

QTEST_MAIN(TestSettingsPages)
#include "tst_settingspages.moc"
