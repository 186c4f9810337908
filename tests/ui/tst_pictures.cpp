// The pictures made at build time: every name the program loads is embedded, at its size, with its
// high-density form; disabled map states are grey; the header is a real BMP and the icon a real ICO.

#include <QtTest>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace {

const QStringList mapStateIcons = {
    QStringLiteral("New_available"), QStringLiteral("New_installation"),
    QStringLiteral("Some_selected_02"), QStringLiteral("Update_delete"),
    QStringLiteral("Update_available"), QStringLiteral("Update_update_02"),
    QStringLiteral("UptoDate_actual"), QStringLiteral("Damaged"), QStringLiteral("Damaged_reinstall")};

QString resource(const QString &name, const QString &scale, const QString &extension)
{
    return QStringLiteral(":/resources/") + name + scale + QLatin1Char('.') + extension;
}

// True when the picture has more than one colour: an SVG that renders nothing gives one.
bool showsSomething(const QImage &image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

QList<QSize> imageSizes(const QString &fileName)
{
    QImageReader reader(fileName);
    QList<QSize> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        sizes << reader.read().size();
    }
    return sizes;
}

} // namespace

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void pngPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("current stage arrow") << "Arrow_Dark" << QSize(16, 16);
        QTest::newRow("other stage arrow") << "Arrow" << QSize(16, 16);
        QTest::newRow("progress trough") << "progressBg" << QSize(4, 20);
        for (const char *platform : {"iPhone", "PND", "Symbian", "winCE", "Android"})
            QTest::newRow(platform) << QStringLiteral("logo_") + QLatin1String(platform) << QSize(48, 48);
        for (const char *locale : {"en_US", "ru_RU", "de_DE"})
            QTest::newRow(locale) << QString::fromLatin1(locale) << QSize(24, 16);
        QTest::newRow("warning") << "warning" << QSize(32, 32);
        QTest::newRow("success") << "success" << QSize(32, 32);
        for (const QString &state : mapStateIcons) {
            QTest::newRow(qPrintable(state)) << state << QSize(16, 16);
            const QString disabled = state + QStringLiteral("_disabled");
            QTest::newRow(qPrintable(disabled)) << disabled << QSize(16, 16);
        }
    }
    void pngPicture()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage normal(resource(name, QString(), QStringLiteral("png")));
        const QImage dense(resource(name, QStringLiteral("@2x"), QStringLiteral("png")));
        QCOMPARE(normal.size(), size);
        QCOMPARE(dense.size(), size * 2);
        QVERIFY(showsSomething(normal));
        QVERIFY(showsSomething(dense));

        // On this doubled screen Qt must find the dense form by its name alone.
        const QPixmap shown = QIcon(resource(name, QString(), QStringLiteral("png"))).pixmap(size);
        QCOMPARE(shown.size(), size * 2);
    }

    void disabledStateIsGrey_data()
    {
        QTest::addColumn<QString>("state");
        for (const QString &state : mapStateIcons)
            QTest::newRow(qPrintable(state)) << state;
    }
    void disabledStateIsGrey()
    {
        QFETCH(QString, state);
        for (const QString &scale : {QString(), QStringLiteral("@2x")}) {
            const QImage normal = QImage(resource(state, scale, QStringLiteral("png")))
                                      .convertToFormat(QImage::Format_ARGB32);
            const QImage disabled = QImage(resource(state + QStringLiteral("_disabled"), scale,
                                                    QStringLiteral("png")))
                                        .convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(disabled.size(), normal.size());
            for (int y = 0; y < normal.height(); ++y) {
                for (int x = 0; x < normal.width(); ++x) {
                    const QColor colour = disabled.pixelColor(x, y);
                    QVERIFY2(colour.hsvSaturation() <= 8 || colour.alpha() < 16,
                             qPrintable(QStringLiteral("coloured at %1,%2").arg(x).arg(y)));
                    const int alpha = normal.pixelColor(x, y).alpha();
                    QVERIFY(colour.alpha() <= alpha / 2 + 1);
                }
            }
        }
    }

    void headerIsBmp()
    {
        for (const auto &[scale, size] : {std::pair{QString(), QSize(800, 64)},
                                          std::pair{QStringLiteral("@2x"), QSize(1600, 128)}}) {
            QImageReader reader(resource(QStringLiteral("header"), scale, QStringLiteral("bmp")));
            QCOMPARE(reader.format(), QByteArray("bmp"));
            const QImage header = reader.read();
            QCOMPARE(header.size(), size);
            QVERIFY(showsSomething(header));
            // The band may be repeated sideways without a seam.
            for (int y = 0; y < header.height(); ++y)
                QCOMPARE(header.pixel(header.width() - 1, y), header.pixel(0, y));
        }
    }

    void windowIconIsIco()
    {
        const QString ico = QStringLiteral(":/resources/KorWind_new_2.ico");
        QCOMPARE(QImageReader(ico).format(), QByteArray("ico"));
        const QList<QSize> expected = {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(256, 256)};
        QList<QSize> sizes = imageSizes(ico);
        std::sort(sizes.begin(), sizes.end(),
                  [](const QSize &a, const QSize &b) { return a.width() < b.width(); });
        QCOMPARE(sizes, expected);

        const QIcon icon(ico);
        for (const QSize &size : expected) {
            QVERIFY(icon.availableSizes().contains(size));
            QVERIFY(showsSomething(icon.pixmap(size).toImage()));
        }
    }
};

int main(int argc, char **argv)
{
    // A high-density screen, so that icons take the "@2x" files.
    qputenv("QT_SCALE_FACTOR", "2");
    QGuiApplication app(argc, argv);
    PicturesTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_pictures.moc"
