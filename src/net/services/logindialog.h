#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// Asks the user for the user name and password a proxy wants.
class LoginDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit LoginDialog(QWidget *parent = nullptr);

    QString userName() const;
    QString password() const;

private:
    QLineEdit *m_userName;
    QLineEdit *m_password;
};
