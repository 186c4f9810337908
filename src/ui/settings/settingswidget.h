#pragma once

#include "settingsvalues.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLineEdit;
namespace Ui {
class SettingsWidget;
}

// The general settings: automatic backups, the backups and downloads folders, and the interface
// languages of the window header's language box.
class SettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWidget(QWidget *parent = nullptr);
    ~SettingsWidget() override;

    // The window header's box; it is filled on load and read on save.
    void setLanguageBox(QComboBox *languageBox);
    void load(const SettingsValues &values);
    void save(SettingsValues &values) const;
    void setBackupManagementEnabled(bool enabled);
    QLineEdit *folderEdit(SettingsProblem::Field field) const;

Q_SIGNALS:
    void backupManagementButtonClicked();

private Q_SLOTS:
    void on_backupPathSelectButton_clicked();
    void on_downloadsPathSelectButton_clicked();

private:
    void fillLanguageBox(const QList<QLocale> &languages, const QLocale &current);
    void selectFolder(QLineEdit *edit);

    std::unique_ptr<Ui::SettingsWidget> m_ui;
    QComboBox *m_languageBox = nullptr;
};
