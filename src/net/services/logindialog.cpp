#include "logindialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LoginDialog::LoginDialog(QWidget *parent)
    : QDialog(parent), m_userName(new QLineEdit(this)), m_password(new QLineEdit(this))
{
    setWindowTitle(tr("User Login"));
    m_userName->setObjectName(QStringLiteral("userName"));
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Login"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Abort"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Username"), this), 0, 0);
    layout->addWidget(m_userName, 0, 1);
    layout->addWidget(new QLabel(tr("Password"), this), 1, 0);
    layout->addWidget(m_password, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

QString LoginDialog::userName() const
{
    return m_userName->text();
}

QString LoginDialog::password() const
{
    return m_password->text();
}

bool LoginDialog::askCredentials(QString &user, QString &password)
{
    if (exec() != QDialog::Accepted)
        return false;
    user = userName();
    password = this->password();
    return true;
}
