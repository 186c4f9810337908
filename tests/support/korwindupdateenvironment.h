#pragma once

#include <QProcessEnvironment>
#include <QString>

// The environment a test runs korwind-update in: its fixture machine, a home and runtime folder of its
// own, English texts and no proxy of the machine's.
inline QProcessEnvironment korwindUpdateEnvironment(const QString &machineRoot, const QString &home,
                                                    const QString &runtimeFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VKT_MACHINE_ROOT"), machineRoot);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("http_proxy"));
    environment.remove(QStringLiteral("HTTP_PROXY"));
    return environment;
}
