#pragma once

#include "korwindexeinfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class FileExistingChecker;

namespace Ui {
class KorwindExeChooseWidget;
}

// The choice of the navigator executable to update: the executables found on the device, each with
// the outcome of its update check, and an edit for a path typed or picked by hand.
//
// The list and the edit stay in step through the path: clicking an entry writes its path into the
// edit; editing the path deselects the entry, unless the text becomes exactly the path of a listed
// entry, which selects that entry. The chosen executable is the entry whose path the edit holds, or
// -1 with the typed path. korwindExecutableSelected reports each clicked entry and each typed path
// that becomes acceptable; the page can continue exactly while the edit holds an acceptable path.
class KorwindExeChooseWidget : public QWidget
{
    Q_OBJECT

public:
    explicit KorwindExeChooseWidget(QWidget *parent = nullptr);
    ~KorwindExeChooseWidget() override;

    // Index of the chosen entry in the list handed in, -1 for a path that names no listed executable.
    int chosenExecutableIndex() const;
    QString chosenExecutablePath() const;
    bool canContinue() const;
    // The window hides "Restore backup" when the device has no backups.
    void setRestoreBackupButtonHidden(bool hidden);

Q_SIGNALS:
    void reportCanContinue(bool _bCanContinue);
    void restoreBackupButtonClicked();
    // The path is UTF-8.
    void korwindExecutableSelected(int _nIndex, const QByteArray &_path);

public Q_SLOTS:
    // The checker belongs to the device services and must outlive this page's use of it.
    void addKorwindExes(const QList<KorwindExeInfo> &_exeInfoes, const QList<QString> &_deviceRoots,
                        bool _bFileSystemIsAccessible, FileExistingChecker *_pFileChecker);

private Q_SLOTS:
    void _onClickedElement(int _nIdx);
    void on_selectButton_clicked();
    void on_pathEdit_textChanged(const QString &text);

private:
    int listedIndexOf(const QString &path) const;
    void updateRestoreButton();

    std::unique_ptr<Ui::KorwindExeChooseWidget> m_ui;
    QList<KorwindExeInfo> m_exes;
    QStringList m_roots;
    int m_chosenIndex = -1;
    bool m_fileSystemAccessible = false;
    bool m_restoreHidden = false;
};
