#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// A phone of the emulated connectivity library (src/platform/phoneemulator), written as the folder the
// emulator reads it from, and what makes the program load that library. For tests and the demo.
struct PhoneFixture
{
    struct Application
    {
        QString identifier;
        QString version; // "major.minor(build)"
        QString name;
    };

    QString serialNumber = QStringLiteral("354321000000001");
    QString friendlyName = QStringLiteral("Korwind Phone");
    QString model = QStringLiteral("K-95");
    QStringList drives = {QStringLiteral("C"), QStringLiteral("E")};
    QList<Application> applications;
    bool fileSystemUnavailable = false;
    bool copyCancelledByPhone = false;
    bool installationFails = false;
    quint64 transfersBreakAfter = 0; // bytes; 0: transfers never break

    // Writes the phone into its folder below phonesFolder (the folder VKT_EMULATED_PHONES names); false, with
    // the reason in error, when something cannot be written.
    bool write(const QString &phonesFolder, QString *error = nullptr) const;
    QString folder(const QString &phonesFolder) const;
    // The PC folder that holds one of its drives ("E").
    QString drive(const QString &phonesFolder, const QString &letter) const;

    // The emulated library of this build.
    static QString emulatorLibrary();
    // A library configuration file (for VKT_PHONE_LIBRARY_CONFIG) that names the emulated library.
    static bool writeLibraryConfiguration(const QString &file, QString *error = nullptr);
    // An installation package that the emulated phone installs.
    static bool writePackage(const QString &path, const Application &application, QString *error = nullptr);
};
