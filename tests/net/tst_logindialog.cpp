// The proxy login dialog as the user sees it.

#include "logindialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class LoginDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout()
    {
        LoginDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("User Login"));
        auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
        QVERIFY(grid);
        auto widgetAt = [grid](int row, int column) { return grid->itemAtPosition(row, column)->widget(); };
        QCOMPARE(qobject_cast<QLabel *>(widgetAt(0, 0))->text(), QStringLiteral("Username"));
        QCOMPARE(qobject_cast<QLabel *>(widgetAt(1, 0))->text(), QStringLiteral("Password"));
        QCOMPARE(qobject_cast<QLineEdit *>(widgetAt(0, 1))->echoMode(), QLineEdit::Normal);
        QCOMPARE(qobject_cast<QLineEdit *>(widgetAt(1, 1))->echoMode(), QLineEdit::Password);

        auto *buttons = qobject_cast<QDialogButtonBox *>(widgetAt(2, 0));
        QVERIFY(buttons);
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(grid->indexOf(buttons), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(columnSpan, 2);
        QCOMPARE(buttons->buttons().size(), 2);
        QCOMPARE(buttons->buttonRole(buttons->buttons().at(0)), QDialogButtonBox::AcceptRole);
        QCOMPARE(buttons->buttons().at(0)->text(), QStringLiteral("Login"));
        QCOMPARE(buttons->buttonRole(buttons->buttons().at(1)), QDialogButtonBox::RejectRole);
        QCOMPARE(buttons->buttons().at(1)->text(), QStringLiteral("Abort"));
    }

    void buttons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("Login accepts") << "Login" << int(QDialog::Accepted);
        QTest::newRow("Abort rejects") << "Abort" << int(QDialog::Rejected);
    }
    void buttons()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        LoginDialog dialog;
        auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
        QTest::keyClicks(grid->itemAtPosition(0, 1)->widget(), QStringLiteral("anna"));
        QTest::keyClicks(grid->itemAtPosition(1, 1)->widget(), QStringLiteral("s3cret"));
        dialog.show();
        for (QPushButton *candidate : dialog.findChildren<QPushButton *>()) {
            if (candidate->text() == button)
                candidate->click();
        }
        QCOMPARE(dialog.result(), result);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.userName(), QStringLiteral("anna"));
        QCOMPARE(dialog.password(), QStringLiteral("s3cret"));
    }
};

QTEST_MAIN(LoginDialogTest)
#include "tst_logindialog.moc"
