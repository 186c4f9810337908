#include "deletionwarningwidget.h"
#include "devicenotfoundwidget.h"
#include "errorwidget.h"
#include "fileexistingchecker.h"
#include "korwindcontentchoosewidget.h"
#include "korwindexechoosewidget.h"
#include "korwindupdatechoosewidget.h"
#include "listwidget.h"
#include "mapupdatechoosewidget.h"
#include "pathvalidator.h"
#include "platformbuttonswidget.h"
#include "platformhelpwidget.h"
#include "selectdevicewidget.h"
#include "sendinfowidget.h"
#include "sharedtypes.h"
#include "storagetext.h"
#include "successwidget.h"
#include "treewidget.h"
#include "unfinishedupdatewidget.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(std::function<ItemDisplayInterface *()>)
Q_DECLARE_METATYPE(std::function<QWidget *()>)

namespace {

class SetChecker : public FileExistingChecker
{
public:
    explicit SetChecker(QSet<QString> files) : files(std::move(files)) {}
    bool fileExists(const QString &path) override { return files.contains(path); }
    QSet<QString> files;
};

KorwindExeInfo exe(const QString &path, const QString &version = QStringLiteral("4.2.0.7"))
{
    KorwindExeInfo info;
    info.path = path;
    info.version = DottedVersion::fromString(version);
    info.checkCode = 0;
    return info;
}

DeviceInfo device(const QString &name, int kind, int index, bool properly, bool readOnly)
{
    DeviceInfo info;
    info.name = name;
    info.kind = kind;
    info.index = index;
    info.isConnectedProperly = properly;
    info.isReadOnly = readOnly;
    return info;
}

MapInfo map(const QString &name, const QString &version)
{
    MapInfo info;
    info.name = name;
    info.version = version;
    return info;
}

class FixedFreeSpace : public FreeSpaceDataProvider
{
public:
    qint64 freeSpace(int) override { return 3 * 1024 * 1024; }
    qint64 otherFilesSize(int) override { return 0; }
};

template<typename T>
T *child(QWidget *page, const char *name)
{
    T *widget = page->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

QString pane(QWidget *page)
{
    return child<QTextEdit>(page, "infoTextArea")->toPlainText();
}

// The character format of the pane's text run that holds the given text.
QTextCharFormat formatOf(QWidget *page, const QString &text)
{
    const QTextDocument *document = child<QTextEdit>(page, "infoTextArea")->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
        }
    }
    qFatal("text not in the pane");
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerSharedTypes(); }

    void listsKeepDescriptionInStep_data()
    {
        QTest::addColumn<std::function<ItemDisplayInterface *()>>("make");
        QTest::newRow("list") << std::function<ItemDisplayInterface *()>([] { return new ListWidget; });
        QTest::newRow("tree") << std::function<ItemDisplayInterface *()>([] { return new TreeWidget; });
    }
    void listsKeepDescriptionInStep()
    {
        QFETCH(std::function<ItemDisplayInterface *()>, make);
        std::unique_ptr<ItemDisplayInterface> list(make());
        QSignalSpy clicked(list.get(), &ItemDisplayInterface::clickedElement);
        QSignalSpy added(list.get(), &ItemDisplayInterface::addedElement);
        QSignalSpy cleared(list.get(), &ItemDisplayInterface::clearedContainer);

        list->addElement(4, QStringLiteral("four"), QStringLiteral("first line\nsecond <b>bold</b>"));
        list->addElement(7, QStringLiteral("seven"), QStringLiteral("about seven"));
        QCOMPARE(added.size(), 2);
        QCOMPARE(added.at(1), QVariantList({7, QStringLiteral("seven")}));
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->selectedElement(), -1);
        QVERIFY(pane(list.get()).isEmpty());

        list->selectElement(4);
        QCOMPARE(clicked.takeFirst().at(0).toInt(), 4);
        QCOMPARE(list->selectedElement(), 4);
        QCOMPARE(pane(list.get()), QStringLiteral("first line\nsecond bold"));

        list->selectElement(-1);
        QCOMPARE(list->selectedElement(), -1);
        QVERIFY(clicked.isEmpty());
        QVERIFY(pane(list.get()).isEmpty());

        list->selectElement(7);
        list->clearElements();
        QCOMPARE(cleared.size(), 1);
        QCOMPARE(list->count(), 0);
        QCOMPARE(list->selectedElement(), -1);
        QVERIFY(pane(list.get()).isEmpty());
        QVERIFY(!child<QTextEdit>(list.get(), "infoTextArea")->isEnabled());
    }

    void treeReportsOnlyTheUsersChecks()
    {
        TreeWidget tree;
        QSignalSpy checked(&tree, &TreeWidget::elementChecked);
        tree.addElement(0, QStringLiteral("a"), QString());
        tree.addElement(1, QStringLiteral("b"), QString());
        tree.setCheckedElement(1, BS_CHECKED);
        tree.setEnabledElement(0, false);
        QVERIFY(checked.isEmpty());

        QTreeWidgetItem *item = child<QTreeWidget>(&tree, "entriesTree")->topLevelItem(1);
        QCOMPARE(item->checkState(0), Qt::Checked);
        QVERIFY(!child<QTreeWidget>(&tree, "entriesTree")->topLevelItem(0)->flags().testFlag(Qt::ItemIsEnabled));
        item->setCheckState(0, Qt::Unchecked);
        QCOMPARE(checked.size(), 1);
        QCOMPARE(checked.at(0).at(0).toInt(), 1);
        QCOMPARE(checked.at(0).at(1).value<BOX_STATE>(), BS_UNCHECKED);
    }

    void storageTexts_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("kind");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("free");
        QTest::addColumn<QString>("text");
        const qint64 gibibyte = qint64(1) << 30;
        QTest::newRow("all known") << "NAVI_SD" << int(StorageInfo::Card) << 15 * gibibyte / 2 << 2 * gibibyte
                                   << "NAVI_SD: memory card, 7,50GB, 2,00GB free";
        QTest::newRow("the device's memory") << "NAVI" << int(StorageInfo::Memory) << qint64(-1) << qint64(-1)
                                             << "NAVI: device memory";
        QTest::newRow("no label: where it is") << "" << int(StorageInfo::Unknown) << qint64(-1) << qint64(300) << 
            "/media/u/disk: 0MB free";
        QTest::newRow("nothing known") << "" << int(StorageInfo::Unknown) << qint64(-1) << qint64(-1) << "/media/u/disk";
    }
    void storageTexts()
    {
        QFETCH(QString, label);
        QFETCH(int, kind);
        QFETCH(qint64, total);
        QFETCH(qint64, free);
        QFETCH(QString, text);
        QCOMPARE(storageText({QStringLiteral("/media/u/disk"), label, kind, total, free}), text);
    }

    void deviceListRemarksAndPlatforms()
    {
        SelectDeviceWidget page;
        QSignalSpy selected(&page, &SelectDeviceWidget::deviceSelected);
        // A storage device: its title, then its storages, in place of the volumes its name lists.
        DeviceInfo navigator = device(QStringLiteral("Nav (/media/u/nav + /media/u/card)"), DeviceInfo::Storage, 10, true, false);
        navigator.title = QStringLiteral("Korwind Navigator 5.1.0.0");
        navigator.storages = {{QStringLiteral("/media/u/nav"), QStringLiteral("NAV"), StorageInfo::Memory, -1, -1},
                              {QStringLiteral("/media/u/card"), QString(), StorageInfo::Unknown, -1, -1}};
        page.addDevices({navigator,
                         device(QStringLiteral("Locked"), DeviceInfo::Storage, 11, true, true),
                         device(QStringLiteral("Both"), DeviceInfo::ActiveSync, 12, false, true),
                         device(QStringLiteral("Phone"), DeviceInfo::Android, 13, false, false),
                         device(QStringLiteral("Odd"), 9, 14, false, false)});

        auto *list = child<QListWidget>(&page, "devicesList");
        const QStringList texts = {QStringLiteral("Korwind Navigator 5.1.0.0\n    NAV: device memory\n    /media/u/card"),
                                   QStringLiteral("Locked (device in a read only mode!)"),
                                   QStringLiteral("Both (device in a read only mode!)"),
                                   QStringLiteral("Phone (plugged in a wrong way!)"),
                                   QStringLiteral("Odd (plugged in a wrong way!)")};
        const QList<int> indices = {10, 11, -1, -1, -1};
        const QList<bool> readOnly = {false, true, true, false, false};
        const QList<int> platforms = {0, 0, PN_WINDOWS_MOBILE, PN_ANDROID, 0};
        QCOMPARE(list->count(), texts.size());
        QCOMPARE(list->currentRow(), 0);
        for (int row = 0; row < texts.size(); ++row) {
            list->setCurrentRow(row);
            QCOMPARE(list->item(row)->text(), texts.at(row));
            QCOMPARE(page.selectedDeviceIndex(), indices.at(row));
            QCOMPARE(page.isSelectedDeviceReadOnly(), readOnly.at(row));
            QCOMPARE(int(page.selectedPlatform()), platforms.at(row));
        }
        QCOMPARE(selected.size(), 5);
        QCOMPARE(selected.at(0).at(0).toInt(), 10);
        QCOMPARE(selected.at(2).at(0).toInt(), 12);

        page.addDevices({});
        QCOMPARE(page.selectedDeviceIndex(), -1);
        QCOMPARE(int(page.selectedPlatform()), 0);
    }

    void pathValidator_data()
    {
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<bool>("withChecker");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("acceptable");
        const QStringList drive = {QStringLiteral("F:\\"), QStringLiteral("E:\\")};
        const QStringList mount = {QStringLiteral("/media/u/NAV")};
        QTest::newRow("existing file") << drive << true << "E:\\Navi\\navi.exe" << true;
        QTest::newRow("root differs in case") << drive << true << "e:\\Navi\\navi.exe" << true;
        QTest::newRow("missing file") << drive << true << "E:\\Navi\\other.exe" << false;
        QTest::newRow("no checker") << drive << false << "E:\\Navi\\other.exe" << true;
        QTest::newRow("under no root, file exists") << drive << true << "C:\\navi.exe" << false;
        QTest::newRow("under no root, no checker") << drive << false << "C:\\navi.exe" << false;
        QTest::newRow("no roots") << QStringList() << false << "E:\\Navi\\navi.exe" << false;
        QTest::newRow("empty") << drive << false << "" << false;
        QTest::newRow("mount point") << mount << true << "/media/u/NAV/navi.exe" << true;
        QTest::newRow("mount point in other case") << mount << true << "/MEDIA/u/nav/navi.exe" << true;
        QTest::newRow("sibling volume with the root's prefix") << mount << false << "/media/u/NAV2/navi.exe" << false;
        QTest::newRow("parent component leaves the root") << mount << false << "/media/u/NAV/../OTHER/navi.exe" << false;
        QTest::newRow("wildcard characters in the root") << QStringList{QStringLiteral("/media/u/NAV[1]")} << false
                                                          << "/media/u/NAV[1]/navi.exe" << true;
    }
    void pathValidator()
    {
        QFETCH(QStringList, roots);
        QFETCH(bool, withChecker);
        QFETCH(QString, path);
        QFETCH(bool, acceptable);
        SetChecker checker({QStringLiteral("E:\\Navi\\navi.exe"), QStringLiteral("e:\\Navi\\navi.exe"),
                            QStringLiteral("C:\\navi.exe"), QStringLiteral("/media/u/NAV/navi.exe"),
                            QStringLiteral("/MEDIA/u/nav/navi.exe")});
        PathValidator validator(roots, withChecker ? &checker : nullptr);
        int pos = 0;
        QCOMPARE(validator.validate(path, pos), acceptable ? QValidator::Acceptable : QValidator::Intermediate);
    }

    void exePageByNumberOfExecutables_data()
    {
        QTest::addColumn<int>("found");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("leftHeader");
        QTest::newRow("none") << 0 << "Program cannot locate any Korwind Navigator executables on that device."
                              << "Please, enter the path manually:" << "";
        QTest::newRow("one") << 1 << "Korwind Navigator executable was found. You may choose it for update:"
                             << "or enter the path manually:" << "Korwind Navigator applications found:";
        QTest::newRow("three")
            << 3 << "Several possible Korwind Navigator executables were found, choose the one you want to update:"
            << "or enter the path manually:" << "Korwind Navigator applications found:";
    }
    void exePageByNumberOfExecutables()
    {
        QFETCH(int, found);
        QFETCH(QString, header);
        QFETCH(QString, hint);
        QFETCH(QString, leftHeader);
        QList<KorwindExeInfo> exes;
        QSet<QString> files;
        for (int i = 0; i < found; ++i) {
            exes.append(exe(QStringLiteral("/media/u/NAV/navi%1.exe").arg(i)));
            files.insert(exes.last().path);
        }
        SetChecker checker(files);
        KorwindExeChooseWidget page;
        page.show();
        QSignalSpy canContinue(&page, &KorwindExeChooseWidget::reportCanContinue);
        QSignalSpy chosen(&page, &KorwindExeChooseWidget::korwindExecutableSelected);
        page.addKorwindExes(exes, {QStringLiteral("/media/u/NAV")}, true, &checker);

        QCOMPARE(child<QLabel>(&page, "headerLabel")->text(), header);
        QCOMPARE(child<QLabel>(&page, "hintLabel")->text(), hint);
        QCOMPARE(child<QLabel>(&page, "leftText")->text(), leftHeader);
        auto *list = child<ListWidget>(&page, "entriesList");
        QCOMPARE(list->isVisible(), found > 0);
        QCOMPARE(list->isEnabled(), found > 0);
        QCOMPARE(list->count(), found);
        QCOMPARE(list->selectedElement(), found ? 0 : -1);
        QCOMPARE(page.chosenExecutableIndex(), found ? 0 : -1);
        QCOMPARE(page.chosenExecutablePath(), found ? exes.first().path : QString());
        QCOMPARE(canContinue.last().at(0).toBool(), found > 0);
        QCOMPARE(page.canContinue(), found > 0);
        if (found) {
            QCOMPARE(chosen.size(), 1);
            QCOMPARE(chosen.first(), QVariantList({0, exes.first().path.toUtf8()}));
            QCOMPARE(list->findChild<QListWidget *>()->item(0)->text(), QStringLiteral("Korwind Navigator 4.2.0.7"));
        }
    }

    void exePageAcceptsOnlyExistingPathsUnderTheRoots()
    {
        SetChecker checker({QStringLiteral("/media/u/NAV/Navi/navi.exe"), QStringLiteral("/home/u/navi.exe")});
        KorwindExeChooseWidget page;
        page.addKorwindExes({}, {QStringLiteral("/media/u/NAV")}, true, &checker);
        QSignalSpy canContinue(&page, &KorwindExeChooseWidget::reportCanContinue);
        QSignalSpy chosen(&page, &KorwindExeChooseWidget::korwindExecutableSelected);
        auto *edit = child<QLineEdit>(&page, "pathEdit");

        QTest::keyClicks(edit, QStringLiteral("/home/u/navi.exe"));
        QVERIFY(!canContinue.last().at(0).toBool());
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("/media/u/NAV/Navi/navi.ex"));
        QVERIFY(!canContinue.last().at(0).toBool());
        QVERIFY(chosen.isEmpty());
        QTest::keyClicks(edit, QStringLiteral("e"));
        QVERIFY(canContinue.last().at(0).toBool());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first(), QVariantList({-1, QByteArray("/media/u/NAV/Navi/navi.exe")}));
        QCOMPARE(page.chosenExecutableIndex(), -1);
    }

    void exePageListAndEditStayInStep()
    {
        const QList<KorwindExeInfo> exes = {exe(QStringLiteral("/media/u/NAV/a.exe")),
                                            exe(QStringLiteral("/media/u/NAV/b.exe")),
                                            exe(QStringLiteral("/media/u/NAV/Ünï/c.exe"))};
        KorwindExeChooseWidget page;
        page.addKorwindExes(exes, {QStringLiteral("/media/u/NAV")}, true, nullptr);
        QSignalSpy chosen(&page, &KorwindExeChooseWidget::korwindExecutableSelected);
        auto *list = child<ListWidget>(&page, "entriesList");
        auto *edit = child<QLineEdit>(&page, "pathEdit");

        list->findChild<QListWidget *>()->setCurrentRow(2);
        QCOMPARE(edit->text(), exes.at(2).path);
        QCOMPARE(chosen.takeFirst(), QVariantList({2, exes.at(2).path.toUtf8()}));
        QCOMPARE(page.chosenExecutableIndex(), 2);

        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(list->selectedElement(), -1);
        QCOMPARE(page.chosenExecutableIndex(), -1);
        QVERIFY(pane(&page).isEmpty());

        edit->setText(exes.at(1).path);
        QCOMPARE(list->selectedElement(), 1);
        QCOMPARE(page.chosenExecutableIndex(), 1);
        QCOMPARE(chosen.last(), QVariantList({1, exes.at(1).path.toUtf8()}));
    }

    void exeDescriptionLine_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("bold");
        QTest::newRow("unknown installation") << 3 << "This device is not supported" << "" << ""
                                              << "This device is not supported" << QColor(Qt::red) << false;
        QTest::newRow("other failure") << 4 << "Server is down" << "" << "" << "" << QColor() << false;
        QTest::newRow("failure with a detail only") << 3 << "" << "timeout" << "" << "" << QColor() << false;
        QTest::newRow("update offered") << 0 << "" << "" << "5.1.0.2" << "Can be updated to version 5.1.0.2"
                                        << QColor() << true;
        QTest::newRow("up to date") << 0 << "" << "" << "" << "Is up-to-date" << QColor(Qt::darkGreen) << false;
        QTest::newRow("not checked") << -1 << "" << "" << "" << "" << QColor() << false;
    }
    void exeDescriptionLine()
    {
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(QString, detail);
        QFETCH(QString, offered);
        QFETCH(QString, line);
        QFETCH(QColor, colour);
        QFETCH(bool, bold);
        KorwindExeInfo info = exe(QStringLiteral("/media/u/NAV/<odd> & co/navi.exe"));
        info.checkCode = code;
        info.checkMessage = message;
        info.checkDetail = detail;
        info.updateVersion = offered;
        KorwindExeChooseWidget page;
        page.addKorwindExes({info}, {QStringLiteral("/media/u/NAV")}, true, nullptr);

        const QString rest = QStringLiteral("Version: 4.2.0.7\nPath: /media/u/NAV/<odd> & co/navi.exe");
        QCOMPARE(pane(&page), line.isEmpty() ? rest : line + QLatin1Char('\n') + rest);
        if (!line.isEmpty()) {
            const QTextCharFormat format = formatOf(&page, line);
            QCOMPARE(format.fontWeight() == QFont::Bold, bold);
            QCOMPARE(format.foreground().color(), colour.isValid() ? colour : QColor(Qt::black));
            QCOMPARE(format.foreground().style() != Qt::NoBrush, colour.isValid());
        }
    }

    void exeDescriptionOfReadOnlyDrive()
    {
        KorwindExeInfo info = exe(QStringLiteral("/media/u/NAV/navi.exe"));
        info.isReadOnly = true;
        KorwindExeChooseWidget page;
        page.addKorwindExes({info}, {QStringLiteral("/media/u/NAV")}, false, nullptr);
        const QString warning = QStringLiteral("Korwind Navigator is installed to read-only flash drive and cannot be "
                                               "updated. Switch flash drive to write mode to update Korwind Navigator.");
        QVERIFY(pane(&page).startsWith(warning + QStringLiteral("\nIs up-to-date\nVersion: 4.2.0.7")));
        QCOMPARE(formatOf(&page, warning).foreground().color(), QColor(Qt::red));
    }

    void restoreBackupButton()
    {
        KorwindExeChooseWidget page;
        page.show();
        auto *button = child<QPushButton>(&page, "restoreBackups");
        QSignalSpy clicked(&page, &KorwindExeChooseWidget::restoreBackupButtonClicked);
        page.addKorwindExes({}, {}, false, nullptr);
        QVERIFY(!button->isVisible());
        page.addKorwindExes({}, {}, true, nullptr);
        QVERIFY(button->isVisible() && button->isEnabled());
        button->click();
        QCOMPARE(clicked.size(), 1);
        page.setRestoreBackupButtonHidden(true);
        QVERIFY(!button->isVisible());
    }

    void contentDescriptions()
    {
        FixedFreeSpace provider;
        KorwindContentInfo empty;
        empty.name = QStringLiteral("/media/u/CARD");
        empty.path = QStringLiteral("/media/u/CARD/KorwindContent");
        KorwindContentInfo full;
        full.name = QStringLiteral("/media/u/NAV");
        full.path = QStringLiteral("/media/u/NAV/KorwindContent");
        full.storage = {full.name, QStringLiteral("NAV"), StorageInfo::Memory, 8 * qint64(1 << 30), 3 << 20};
        full.freeSpaceChecker = FreeSpaceChecker(&provider, 0);
        full.maps = {map(QStringLiteral("Russia & CIS"), QStringLiteral("2.1")), map(QStringLiteral("Urals"), QStringLiteral("1.0"))};
        full.isReadOnly = true;

        KorwindContentChooseWidget page;
        QSignalSpy canContinue(&page, &KorwindContentChooseWidget::reportCanContinue);
        QSignalSpy selected(&page, &KorwindContentChooseWidget::korwindContentSelected);
        page.addKorwindContents({empty, full});
        QCOMPARE(canContinue.takeFirst().at(0).toBool(), false);
        QCOMPARE(page.selectedContentIndex(), -1);
        auto *list = child<ListWidget>(&page, "entriesList");

        list->selectElement(0);
        QCOMPARE(pane(&page), QStringLiteral("Maps:\nNone\n\nFree space:\n0MB\n\nFolder:\n/media/u/CARD/KorwindContent"));
        list->selectElement(1);
        QCOMPARE(pane(&page),
                 QStringLiteral("KorwindContent's flash drive is in read only mode. Switch it to write mode to update "
                                "maps.\nMaps:\nRussia & CIS, 2.1\nUrals, 1.0\n\nFree space:\n3MB\n\nFolder:\n"
                                "/media/u/NAV/KorwindContent"));
        QCOMPARE(selected.size(), 2);
        QCOMPARE(selected.last().at(0).toInt(), 1);
        QCOMPARE(canContinue.last().at(0).toBool(), true);
        // The storage that holds the folder, or where the folder is when the storage is not known.
        QCOMPARE(list->findChild<QListWidget *>()->item(0)->text(), QStringLiteral("/media/u/CARD"));
        QCOMPARE(list->findChild<QListWidget *>()->item(1)->text(), QStringLiteral("NAV: device memory, 8,00GB, 3MB free"));
    }

    void storageCardChosenAsShown_data()
    {
        // Ways of reaching a card, as steps: "tab" into the list, "down", "ctrl-space", a screen reader's
        // "select N" (the row, through the table interface) or "toggle N" (the row's action).
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("chosen");
        QTest::newRow("tabbing into the list chooses nothing") << "tab" << -1;
        QTest::newRow("the arrow key chooses") << "tab down" << 0;
        QTest::newRow("a screen reader selects the row") << "select 1" << 1;
        QTest::newRow("a screen reader toggles the row") << "toggle 1" << 1;
        QTest::newRow("a screen reader selects another row") << "select 0 select 1" << 1;
        QTest::newRow("the chosen card cannot be unchosen") << "tab down ctrl-space" << 0;
    }
    void storageCardChosenAsShown()
    {
        QFETCH(QString, steps);
        QFETCH(int, chosen);
        KorwindContentInfo card;
        card.name = QStringLiteral("/media/u/NAVI_SD");
        KorwindContentInfo memory;
        memory.name = QStringLiteral("/media/u/NAVI");

        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *page = new KorwindContentChooseWidget(&window);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(page);
        QSignalSpy canContinue(page, &KorwindContentChooseWidget::reportCanContinue);
        QSignalSpy selected(page, &KorwindContentChooseWidget::korwindContentSelected);
        page->addKorwindContents({card, memory});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();

        auto *list = page->findChild<QListWidget *>();
        QAccessibleInterface *view = QAccessible::queryAccessibleInterface(list);
        const QStringList words = steps.split(' ');
        for (int i = 0; i < words.size(); ++i) {
            const QString &step = words.at(i);
            if (step == "tab")
                QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
            else if (step == "down")
                QTest::keyClick(window.windowHandle(), Qt::Key_Down);
            else if (step == "ctrl-space")
                QTest::keyClick(window.windowHandle(), Qt::Key_Space, Qt::ControlModifier);
            else if (step == "select")
                QVERIFY(view->tableInterface()->selectRow(words.at(++i).toInt()));
            else if (step == "toggle")
                view->child(words.at(++i).toInt())->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        }
        if (steps.startsWith("tab"))
            QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(page->selectedContentIndex(), chosen);
        QCOMPARE(list->currentRow(), chosen);
        const QList<QListWidgetItem *> shown = list->selectedItems();
        QCOMPARE(shown.size(), chosen < 0 ? 0 : 1);
        if (chosen >= 0)
            QCOMPARE(list->row(shown.first()), chosen);
        QCOMPARE(canContinue.last().at(0).toBool(), chosen >= 0);
        QCOMPARE(selected.isEmpty() ? -1 : selected.last().at(0).toInt(), chosen);
    }

    void listComesBeforeItsDescription()
    {
        // Tab from the control before the page reaches the list, then the description, then what follows.
        // The page is made on its own and then put into the window, as the window's form does with its pages.
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *before = new QLineEdit(&window);
        layout->addWidget(before);
        auto *page = new KorwindContentChooseWidget;
        layout->addWidget(page);

        auto *after = new QLineEdit(&window);
        layout->addWidget(after);
        KorwindContentInfo card;
        card.name = QStringLiteral("/media/u/NAVI_SD");
        page->addKorwindContents({card});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        QStringList order;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(order, QStringList({QStringLiteral("entriesList"), QStringLiteral("infoTextArea"), QString()}));
        QCOMPARE(QApplication::focusWidget(), after);
    }

    void deviceChosenByAScreenReader()
    {
        SelectDeviceWidget page;
        page.addDevices({device(QStringLiteral("Nav"), DeviceInfo::Storage, 10, true, false),
                         device(QStringLiteral("Other"), DeviceInfo::Storage, 11, true, false)});
        QSignalSpy selected(&page, &SelectDeviceWidget::deviceSelected);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(child<QListWidget>(&page, "devicesList"));
        QVERIFY(list->tableInterface()->selectRow(1));
        QCOMPARE(page.selectedDeviceIndex(), 11);
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.at(0).at(0).toInt(), 11);
    }

    void updateChoice_data()
    {
        QTest::addColumn<int>("offered");
        QTest::addColumn<bool>("mapsCanFollow");
        QTest::addColumn<bool>("usbStorage");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("updates, maps follow, USB storage")
            << 2 << true << true
            << QStringList{"Korwind Navigator 5.1.0.0", "Korwind Navigator 5.2.0.0", "Don't update the program"};
        QTest::newRow("updates only, other device")
            << 2 << false << false << QStringList{"Korwind Navigator 5.1.0.0", "Korwind Navigator 5.2.0.0"};
        QTest::newRow("no update, maps follow") << 0 << true << true << QStringList{"Don't update the program"};
    }
    void updateChoice()
    {
        QFETCH(int, offered);
        QFETCH(bool, mapsCanFollow);
        QFETCH(bool, usbStorage);
        QFETCH(QStringList, entries);
        ProductInfo first;
        first.version = QStringLiteral("5.1.0.0");
        first.description = QStringLiteral("Faster routing\n<new> voices");
        ProductInfo second;
        second.version = QStringLiteral("5.2.0.0");
        const QList<const ProductInfo *> updates = QList<const ProductInfo *>{&first, &second}.mid(0, offered);

        KorwindUpdateChooseWidget page;
        page.show();
        QSignalSpy selected(&page, &KorwindUpdateChooseWidget::korwindUpdateSelected);
        QSignalSpy buttonText(&page, &KorwindUpdateChooseWidget::setUpdateButtonText);
        page.setMapUpdatesCanFollow(mapsCanFollow);
        page.setBackupOffered(usbStorage, true);
        page.addKorwindUpdates(updates);

        auto *items = child<QListWidget>(&page, "entriesList");
        QStringList shown;
        for (int row = 0; row < items->count(); ++row)
            shown.append(items->item(row)->text());
        QCOMPARE(shown, entries);
        auto *box = child<QCheckBox>(&page, "createBackupsBox");
        QCOMPARE(box->isVisible(), usbStorage);

        if (offered) {
            QCOMPARE(selected.takeFirst().at(0).toInt(), 0);
            QCOMPARE(buttonText.takeFirst().at(0).toString(), QStringLiteral("Update"));
            QCOMPARE(pane(&page), QStringLiteral("Faster routing\n<new> voices"));
            QCOMPARE(page.isBackupChecked(), usbStorage);
            items->setCurrentRow(1);
            QCOMPARE(pane(&page), QStringLiteral("No info available"));
            QCOMPARE(selected.takeFirst().at(0).toInt(), 1);
        }
        if (mapsCanFollow) {
            items->setCurrentRow(items->count() - 1);
            QCOMPARE(selected.last().at(0).toInt(), -1);
            QCOMPARE(buttonText.last().at(0).toString(), QStringLiteral("Next"));
            QVERIFY(!box->isEnabled());
            QVERIFY(!page.isBackupChecked());
        }
    }

    void backupBoxFollowsTheSetting()
    {
        KorwindUpdateChooseWidget page;
        ProductInfo update;
        page.setBackupOffered(true, false);
        page.addKorwindUpdates({&update});
        QVERIFY(!page.isBackupChecked());
        page.setBackupOffered(true, true);
        QVERIFY(page.isBackupChecked());
        page.setBackupOffered(false, true);
        QVERIFY(!page.isBackupChecked());
    }

    void deletionWarningHeaders_data()
    {
        QTest::addColumn<QList<MapInfo>>("installed");
        QTest::addColumn<QString>("upper");
        QTest::newRow("nothing installed") << QList<MapInfo>() << "Following maps will be removed:";
        QTest::newRow("one installed") << QList<MapInfo>{map(QStringLiteral("Europe"), QStringLiteral("3.0"))}
                                       << "During the installation of maps \"Europe, 3.0\" following maps will be "
                                          "removed:";
        QTest::newRow("two installed")
            << QList<MapInfo>{map(QStringLiteral("Europe"), QStringLiteral("3.0")), map(QStringLiteral("Asia"), QStringLiteral("1.2"))}
            << "During the installation of maps \"Europe, 3.0\", \"Asia, 1.2\" following maps will be removed:";
    }
    void deletionWarningHeaders()
    {
        QFETCH(QList<MapInfo>, installed);
        QFETCH(QString, upper);
        const QList<MapInfo> removed = {map(QStringLiteral("Old <west>"), QStringLiteral("1.0")),
                                        map(QStringLiteral("Old east"), QStringLiteral("1.1"))};
        QList<const MapInfo *> installedPointers;
        for (const MapInfo &info : installed)
            installedPointers.append(&info);
        DeletionWarningWidget page;
        page.setMaps(installedPointers, {&removed.at(0), &removed.at(1)});
        QCOMPARE(child<QLabel>(&page, "upperLabel")->text(), upper);
        QCOMPARE(child<QPlainTextEdit>(&page, "removedMapsText")->toPlainText(),
                 QStringLiteral("Old <west>, 1.0\nOld east, 1.1"));
        // The list, which takes the focus, carries the warning for a screen reader.
        QCOMPARE(child<QPlainTextEdit>(&page, "removedMapsText")->accessibleDescription(),
                 "Note, that old maps will be removed or re-installed during the update! " + upper
                     + " If you're ok with that, press the \"Update\" button.");
    }

    void sendInfoNeedsADeviceName()
    {
        SendInfoWidget page;
        QSignalSpy canContinue(&page, &SendInfoWidget::reportCanContinue);
        auto *edit = child<QLineEdit>(&page, "deviceNameEdit");
        QTest::keyClicks(edit, QStringLiteral("Ab"));
        QCOMPARE(canContinue.size(), 2);
        QVERIFY(canContinue.last().at(0).toBool());
        QCOMPARE(page.deviceName(), QStringLiteral("Ab"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QVERIFY(canContinue.last().at(0).toBool());
        QTest::keyClick(edit, Qt::Key_Backspace);
        QVERIFY(!canContinue.last().at(0).toBool());
    }

    void platformButtonsAndHelp_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("platform");
        QTest::addColumn<QString>("header");
        QTest::newRow("iPhone") << "IPhoneButton" << int(PN_IPHONE) << "Connection help for iOS devices";
        QTest::newRow("PND") << "PNDButton" << int(PN_PND) << "Connection help for PND devices";
        QTest::newRow("Symbian") << "SymbianButton" << int(PN_SYMBIAN) << "Connection help for Symbian devices";
        QTest::newRow("WindowsMobile") << "WinMobileButton" << int(PN_WINDOWS_MOBILE)
                                       << "Connection help for Windows Mobile devices";
        QTest::newRow("Android") << "AndroidButton" << int(PN_ANDROID) << "Connection help for Android devices";
    }
    void platformButtonsAndHelp()
    {
        QFETCH(QString, button);
        QFETCH(int, platform);
        QFETCH(QString, header);
        PlatformButtonsWidget buttons;
        QSignalSpy clicked(&buttons, &PlatformButtonsWidget::platformButtonClicked);
        child<QToolButton>(&buttons, button.toLatin1().constData())->click();
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(int(clicked.first().at(0).value<PLATFORM_NAMES>()), platform);

        PlatformHelpWidget help;
        help.setPlatformHelpInfo(PLATFORM_NAMES(platform));
        QCOMPARE(child<QLabel>(&help, "headerLabel")->text(), header);
        QVERIFY(child<QLabel>(&help, "textLabel")->text().endsWith(QStringLiteral("press \"Retry\".")));
    }

    void deviceNotFoundNotice()
    {
        DeviceNotFoundWidget page;
        QSignalSpy platform(&page, &DeviceNotFoundWidget::platformButtonClicked);
        QSignalSpy error(&page, &DeviceNotFoundWidget::errorHappened);
        page.setError(QStringLiteral("Cannot read /proc/self/mountinfo"));
        const QString text = child<QLabel>(&page, "textLabel")->text();
        QVERIFY(text.startsWith(QStringLiteral("Cannot read /proc/self/mountinfo<br><br>No devices were found.<br>")));

        page.show();
        QCOMPARE(error.size(), 1);
        QCOMPARE(error.first().at(0).value<WId>(), page.winId());
        child<QToolButton>(&page, "SymbianButton")->click();
        child<QPushButton>(&page, "helpButton")->click();
        QCOMPARE(platform.size(), 2);
        QCOMPARE(platform.at(0).at(0).value<PLATFORM_NAMES>(), PN_SYMBIAN);
        QCOMPARE(platform.at(1).at(0).value<PLATFORM_NAMES>(), PN_PND);
    }

    void noticeTexts()
    {
        ErrorWidget error;
        QSignalSpy happened(&error, &ErrorWidget::errorHappened);
        error.setText(QStringLiteral("Copy failed: a < b\nTry again."));
        QCOMPARE(error.text(), QStringLiteral("Copy failed: a &lt; b<br>Try again."));
        const QString link = QStringLiteral("Not found<br><br><a href=\"send device info\" style=\"color:black\">Send "
                                            "information about device.</a> We will examine\nthe problem.");
        error.setText(link);
        QCOMPARE(error.text(), QString(link).replace(QLatin1Char('\n'), QStringLiteral("<br>")));
        error.show();
        error.hide();
        error.show();
        QCOMPARE(happened.size(), 2);
        // A notice flags nothing, shown or set while visible; an error set while visible does.
        error.setText(QStringLiteral("Please reconnect."), ErrorWidget::Severity::Notice);
        error.hide();
        error.show();
        QCOMPARE(happened.size(), 2);
        error.setText(QStringLiteral("It failed."));
        QCOMPARE(happened.size(), 3);

        SuccessWidget success;
        QCOMPARE(success.text(), QStringLiteral("Installation is finished!"));
        success.setText(QStringLiteral("Update is successfully completed!\nYou need to unplug your device"));
        QCOMPARE(success.text(),
                 QStringLiteral("Update is successfully completed!<br>You need to unplug your device"));
    }

    // What is left of the job and, only where a backup was made before it, the way back.
    void unfinishedUpdateNotice()
    {
        UnfinishedUpdateWidget page;
        QSignalSpy restore(&page, &UnfinishedUpdateWidget::restoreBackupClicked);
        UpdateJobRecord record;
        MapInfo russia;
        russia.name = QStringLiteral("Russia");
        russia.file.fileName = QStringLiteral("RUS.nm3");
        MapInfo belarus;
        belarus.name = QStringLiteral("Belarus");
        belarus.file.fileName = QStringLiteral("BLR.nm3");
        record.mapsToInstall = {russia, belarus};
        record.installed = {QStringLiteral("rus.NM3")};
        record.removedEarly = {QStringLiteral("BLR.nm3")};
        page.setUpdate(record);
        page.show();
        QVERIFY2(page.text().contains(QStringLiteral("Maps still to install: Belarus.")), qPrintable(page.text()));
        QVERIFY(page.text().contains(QStringLiteral("were removed before their new versions were in place: BLR.nm3.")));
        QVERIFY(!child<QPushButton>(&page, "restoreButton")->isVisible());

        record.backupId = QStringLiteral("backup_02.01.2026");
        page.setUpdate(record);
        auto *button = child<QPushButton>(&page, "restoreButton");
        QVERIFY(button->isVisible());
        button->click();
        QCOMPARE(restore.size(), 1);
        QVERIFY(child<QLabel>(&page, "restoreLabel")->text().contains(QStringLiteral("backup_02.01.2026")));

        record = UpdateJobRecord();
        record.kind = UpdateJobRecord::NavigatorJob;
        record.navigatorPackage.version = QStringLiteral("5.2.0.0");
        page.setUpdate(record);
        QVERIFY(page.text().contains(QStringLiteral("Korwind Navigator 5.2.0.0 was being installed.")));
    }

    void everyControlHasAnAccessibleName_data()
    {
        QTest::addColumn<std::function<QWidget *()>>("make");
        auto row = [](const char *name, std::function<QWidget *()> make) { QTest::newRow(name) << make; };
        row("list", [] { return new ListWidget; });
        row("tree", [] { return new TreeWidget; });
        row("devices", [] { return new SelectDeviceWidget; });
        row("device not found", [] { return new DeviceNotFoundWidget; });
        row("platform help", [] { return new PlatformHelpWidget; });
        row("executable", [] { return new KorwindExeChooseWidget; });
        row("content", [] { return new KorwindContentChooseWidget; });
        row("navigator update", [] { return new KorwindUpdateChooseWidget; });
        row("deletion warning", [] { return new DeletionWarningWidget; });
        row("error", [] { return new ErrorWidget; });
        row("success", [] { return new SuccessWidget; });
        row("send info", [] { return new SendInfoWidget; });
        row("maps", [] { return new MapUpdateChooseWidget; });
        row("unfinished update", [] { return new UnfinishedUpdateWidget; });
    }
    void everyControlHasAnAccessibleName()
    {
        QFETCH(std::function<QWidget *()>, make);
        std::unique_ptr<QWidget> page(make());
        const QList<QWidget *> widgets = page->findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            // A view's header is a part of the view, not a control of its own.
            const bool isControl = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
                                   || (qobject_cast<QAbstractItemView *>(widget) && !qobject_cast<QHeaderView *>(widget))
                                   || qobject_cast<QTextEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget);
            if (isControl && widget->accessibleName().isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 (%2) has no accessible name")
                                     .arg(widget->objectName(), QLatin1String(widget->metaObject()->className()))));
        }
    }
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
