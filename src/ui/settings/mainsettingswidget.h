#pragma once

#include "settingsvalues.h"

#include <QWidget>

#include <memory>

class BackupManagementWidget;
class QComboBox;
namespace Ui {
class MainSettingsWidget;
}

// The settings page: general settings, backup management and connection settings, each on a tab.
// It shows the values the window hands it and gives back the edited ones only when all can be stored.
class MainSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MainSettingsWidget(QWidget *parent = nullptr);
    ~MainSettingsWidget() override;

    void setLanguageBox(QComboBox *languageBox);
    // Also writes the backup dates in `values.language`.
    void load(const SettingsValues &values);
    // The edited values in `values`, or false when one of them cannot be stored: then the page has said
    // why, shows the field, and `values` is untouched. Missing folders are created.
    bool save(SettingsValues &values);
    void setBackupManagementEnabled(bool enabled);
    void showConnectionTab();
    BackupManagementWidget *backupManagement() const;

Q_SIGNALS:
    void updateListBackupInfo();

private Q_SLOTS:
    void on_tabWidget_currentChanged(int _nIndex);

private:
    void showProblem(const SettingsProblem &problem);

    std::unique_ptr<Ui::MainSettingsWidget> m_ui;
    SettingsValues m_loaded;
};
