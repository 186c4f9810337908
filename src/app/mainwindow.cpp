#include "mainwindow.h"

#include "applicationcycle.h"
#include "applicationdata.h"
#include "appsettings.h"
#include "languages.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_languageBox(new QComboBox)
{
    setWindowTitle(tr("Korwind Navigator update center"));
    setWindowIcon(QIcon(QStringLiteral(":/resources/app_icon.png")));

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    auto *header = new QHBoxLayout;
    auto *title = new QLabel(tr("<b>Korwind Navigator update center</b>"));
    header->addWidget(title);
    header->addStretch();
    header->addWidget(m_languageBox);
    layout->addLayout(header);
    layout->addStretch();
    layout->addWidget(new QLabel(tr("Version %1").arg(QCoreApplication::applicationVersion())));
    setCentralWidget(central);
    resize(640, 480);

    const ApplicationData *data = ApplicationData::instance();
    for (const QLocale &language : data->languages()) {
        const QString nativeName = language.nativeLanguageName();
        m_languageBox->addItem(nativeName.left(1).toUpper() + nativeName.mid(1), language.name());
        if (Languages::contains({language}, data->currentLanguage()))
            m_languageBox->setCurrentIndex(m_languageBox->count() - 1);
    }
    connect(m_languageBox, &QComboBox::activated, this, &MainWindow::_onLanguageChosen);
}

void MainWindow::_onLanguageChosen(int _nIndex)
{
    const QLocale chosen(m_languageBox->itemData(_nIndex).toString());
    AppSettings::setLanguage(chosen);
    if (Languages::contains({chosen}, ApplicationData::instance()->currentLanguage()))
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Korwind Navigator update center"),
        tr("Changing language will take effect only after application\nrestart. Should we restart the application now?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        QApplication::exit(RestartExitCode);
}
