#pragma once

#include "applicationdata.h"
#include "demoworld.h"
#include "deviceservices.h"
#include "mainwindow.h"
#include "networkservices.h"
#include "packageservices.h"
#include "standinserverprocess.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The demo world in a temporary folder, the program's settings pointed at it as tools/demo points them, and
// the stand-in server on its catalogue.
class DemoSession
{
public:
    // False, with the reason in error, when the world or the server cannot be made.
    bool start(QString *error);
    const DemoWorld &world() const { return *m_world; }
    QString serverUrl() const { return m_server.baseUrl(); }
    // The questions the server was asked so far, oldest first.
    QJsonArray serverRequests() { return m_server.requests(); }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<DemoWorld> m_world;
    StandInServerProcess m_server;
    std::unique_ptr<ApplicationData> m_data;
};

// The program's real services and window against the server, and what a person does with the mouse.
class DemoProgram
{
public:
    explicit DemoProgram(const QString &serverUrl);

    QString page() const;
    // Waits for the page; empty when it came, else what the window shows instead.
    QString waitFor(const QString &name) const;
    // Clicks a button of the bar ("updateButton", "backButton", "cancelButton") or of a page, once it can be
    // clicked.
    bool click(const QString &name) const;
    // Clicks the one entry of the page's list whose text starts with the text.
    bool chooseEntry(const QString &pageName, const QString &text) const;
    // Clicks the state icon of the map's row.
    bool clickMap(const QString &name) const;
    // The text of the error or success page.
    QString pageText(const QString &pageName) const;

    DeviceServices devices;
    NetworkServices network;
    PackageServices packages;
    std::unique_ptr<MainWindow> window;
};

// SHA-1 of the file, "<unreadable>" when it cannot be read.
QByteArray fileDigest(const QString &path);
// Relative path -> SHA-1 of every file below the folder.
QMap<QString, QByteArray> fileDigests(const QString &folder);
// The maps that the demo's update puts into the device memory's map folder (Russia, Central and Belarus, with
// the base map and Russia that they need), by file name, with the SHA-1 of the catalogue's file.
QMap<QString, QByteArray> demoUpdateMaps(const DemoWorld &world);
// The files of the device memory's map folder, by file name, with their SHA-1.
QMap<QString, QByteArray> mapsOnTheDevice(const DemoWorld &world);

#define REACH(program, name)                                                                                          \
    do {                                                                                                              \
        const QString problem = (program).waitFor(QStringLiteral(name));                                              \
        QVERIFY2(problem.isEmpty(), qPrintable(problem));                                                             \
    } while (false)
