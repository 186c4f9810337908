#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

using FormFields = QList<QPair<QByteArray, QByteArray>>;

// Splits a URL-encoded form body into decoded (name, value) pairs in wire order. False when a
// percent escape is malformed.
bool parseFormBody(const QByteArray &body, FormFields &fields);

// The index of the first field with the name, or -1.
qsizetype findFormField(const FormFields &fields, const QByteArray &name);
// The value of the first field with the name, or an empty array.
QByteArray formValue(const FormFields &fields, const QByteArray &name);
