#pragma once

#include "proxyloginprompt.h"

#include <QDialog>
#include <QString>

class QLineEdit;

// Asks the user for the user name and password a proxy wants.
class LoginDialog final : public QDialog, public ProxyLoginPrompt
{
    Q_OBJECT

public:
    explicit LoginDialog(QWidget *parent = nullptr);

    QString userName() const;
    QString password() const;

    // Runs the dialog modally; "Login" hands over what was typed.
    bool askCredentials(QString &user, QString &password) override;

private:
    QLineEdit *m_userName;
    QLineEdit *m_password;
};
