#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

namespace vktpdl {

struct NavigatorInfo;

// Reading the replies of the device-side module's three remote calls (little-endian numbers, UTF-8 texts).
// Each returns a DEVICE_ERROR and leaves its output alone on failure.
namespace ModuleReplies {

// getPXRVersion: the first 32-bit value; 6 when the reply is shorter.
int readModuleVersion(const QByteArray &reply, quint32 &version);
// getRootInfo: status 0, a byte count, that many bytes of NUL-separated folder names; the names, empty ones
// left out, are appended to roots. 6 for a reply that is short, says otherwise or counts more than it holds.
int readRoots(const QByteArray &reply, QStringList &roots);
// getVersionInfo: status 0, four version parts, the navigator's folder (counted, NUL-terminated) and the
// 40 hexadecimal digits of the navigator's digest. 8 for any other reply (the navigator was not found).
int readNavigator(const QByteArray &reply, NavigatorInfo &info);

} // namespace ModuleReplies

} // namespace vktpdl
