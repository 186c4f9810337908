// The notice pages on a screen of twice the usual pixel density: their pictures are the "@2x" drawings,
// not the plain ones scaled up.

#include "successwidget.h"
#include "warningframe.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <memory>

class HighDensityTest : public QObject
{
    Q_OBJECT

private slots:
    void noticePictures_data()
    {
        QTest::addColumn<QString>("page");
        QTest::newRow("warning") << "warning";
        QTest::newRow("success") << "success";
    }
    void noticePictures()
    {
        QFETCH(QString, page);
        std::unique_ptr<QWidget> widget;
        if (page == QLatin1String("warning"))
            widget = std::make_unique<WarningFrame>();
        else
            widget = std::make_unique<SuccessWidget>();
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        QCOMPARE(widget->devicePixelRatioF(), 2.0);
        const auto *icon = widget->findChild<QLabel *>(QStringLiteral("iconLabel"));
        const QPixmap shown = icon->pixmap();
        const QPixmap sharp(QStringLiteral(":/resources/%1@2x.png").arg(page));
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.size(), sharp.size());
        QCOMPARE(shown.toImage().convertToFormat(QImage::Format_ARGB32),
                 sharp.toImage().convertToFormat(QImage::Format_ARGB32));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    HighDensityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdensity.moc"
