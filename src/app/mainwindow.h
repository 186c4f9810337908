#pragma once

#include <QMainWindow>

class QComboBox;

// The program's window: its title, icon, version and the language box of its header.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

private Q_SLOTS:
    void _onLanguageChosen(int _nIndex);

private:
    QComboBox *m_languageBox;
};
