#pragma once

#include <QObject>
#include <QString>

struct ProductInfo;

// Unpacks the downloaded package of a newer update center and starts its setup; ends with
// taskFinished, whose empty text means the setup was started.
class SelfUpdateInstaller final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void start(const ProductInfo *package);

Q_SIGNALS:
    void taskFinished(QString _strText);
};
