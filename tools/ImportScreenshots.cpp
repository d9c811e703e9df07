#include "ImportScreenshots.h"
#include "ImportRunWindow.h"
#include "ProfileStore.h"
#include "ScreenFit.h"
#include "UDM.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

bool saveImportScreenshots(QWidget *parent, const std::function<bool(QWidget *, const QString &)> &save)
{
    const QString examples = QStringLiteral(VELMORA_SOURCE_DIR "/resources/import/");
    QFile profileFile(examples + QStringLiteral("beispiel-semikolon.json"));
    QString error;
    const auto profile = profileFile.open(QIODevice::ReadOnly) ? TImportProfile::fromJsonText(profileFile.readAll(), &error)
                                                               : std::nullopt;
    if (!profile)
        return false;
    saveProfile(frmDM->Database, *profile);
    TfrmImportRun window(frmDM->Database, 11, 11, parent);
    resizeWithinScreen(&window, QSize(1240, 420));
    window.show();
    // The example under a name a user's export might have.
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("Messungen"));
    const QString file = folder.filePath(QStringLiteral("Messungen/Messung März.csv"));
    QFile::copy(examples + QStringLiteral("beispiel-semikolon.csv"), file);
    window.openFile(file);
    const bool saved = save(&window, QStringLiteral("import-probelauf.png"));
    window.close();
    return saved;
}
