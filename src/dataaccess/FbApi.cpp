#include "FbApi.h"
#include "ConnectionLoss.h"
#include "DbError.h"
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QtGlobal>
#include <cerrno>
#include <clocale>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {

Firebird::IMaster *master()
{
    static Firebird::IMaster *m = [] {
        ensureUtf8FileNames();
        return Firebird::fb_get_master_interface();
    }();
    return m;
}

Firebird::IUtil *util()
{
    static Firebird::IUtil *u = master()->getUtilInterface();
    return u;
}

Firebird::IProvider *provider()
{
    static Firebird::IProvider *p = [] {
        ensureLockFolder();
        return master()->getDispatcher();
    }();
    return p;
}

void ensureUtf8FileNames()
{
    if (qstrcmp(::nl_langinfo(CODESET), "UTF-8") != 0)
        ::setlocale(LC_CTYPE, "C.UTF-8");
}

namespace {

bool isOwnFolder(const QByteArray &name, bool makePrivate)
{
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) != 0) {
        if (!makePrivate)
            return false;
        ::chmod(name.constData(), 0700);
    }
    return true;
}

} // namespace

QString privateFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    ::mkdir(name.constData(), 0700);
    if (isOwnFolder(name, true))
        return path;
    // Somebody else's folder (or a link, or a file) under the expected name:
    // one of our own instead of failing or sharing it. The one an earlier
    // run made is used again: every run finds the same locks, and the
    // temporary folder does not fill up with new ones.
    const QString prefix = QStringLiteral("velmora-%1-").arg(::getuid());
    const QDir temp(QDir::tempPath());
    for (const QString &earlier : temp.entryList({prefix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name))
        if (isOwnFolder(QFile::encodeName(temp.filePath(earlier)), false))
            return temp.filePath(earlier);
    QByteArray fresh = QFile::encodeName(temp.filePath(prefix + QStringLiteral("XXXXXX")));
    if (!::mkdtemp(fresh.data()))
        return path; // the engine then names the problem
    return QFile::decodeName(fresh);
}

void ensureLockFolder()
{
    if (qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
        return;
    if (::access("/tmp/firebird", W_OK | X_OK) == 0)
        return;
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || ::access(QFile::encodeName(base).constData(), W_OK | X_OK) != 0)
        base = privateFolder(QDir::tempPath() + QStringLiteral("/velmora-") + QString::number(::getuid()));
    const QString folder = privateFolder(base + QStringLiteral("/velmora-firebird-lock"));
    qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
}

Status::Status() : m_wrapper(master()->getStatus()) {}
Status::~Status() { m_wrapper.dispose(); }

QString errorText(const Firebird::FbException &e)
{
    char buffer[2048];
    const unsigned n = util()->formatStatus(buffer, sizeof buffer, e.getStatus());
    // Engine texts are ASCII apart from file names, which go in as UTF-8.
    const QByteArrayView bytes(buffer, static_cast<qsizetype>(qMin<unsigned>(n, sizeof buffer)));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text.trimmed();
    return QString::fromLatin1(bytes.data(), bytes.size()).trimmed();
}

QList<qint64> errorCodes(const Firebird::FbException &e)
{
    QList<qint64> codes;
    const intptr_t *v = e.getStatus()->getErrors();
    while (v && *v != isc_arg_end) {
        const intptr_t kind = *v++;
        if (kind == isc_arg_gds)
            codes << static_cast<qint64>(*v);
        v += kind == isc_arg_cstring ? 2 : 1;
    }
    return codes;
}

namespace {

// The system's error number the engine passed on with an I/O error, or 0.
int systemError(const Firebird::FbException &e)
{
    const intptr_t *v = e.getStatus()->getErrors();
    while (v && *v != isc_arg_end) {
        const intptr_t kind = *v++;
        if (kind == isc_arg_unix)
            return static_cast<int>(*v);
        v += kind == isc_arg_cstring ? 2 : 1;
    }
    return 0;
}

// What a user can do something about, in German; the engine's English
// text follows as the second line for whoever looks further.
QString causeInGerman(const Firebird::FbException &e)
{
    switch (systemError(e)) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger der Datenbank ist nicht genug Platz. Es wurde nichts gespeichert.");
    case EROFS:
        return QStringLiteral("Der Datenträger der Datenbank ist schreibgeschützt.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung für die Datenbankdatei.");
    default:
        return {};
    }
}

} // namespace

void throwDatabaseError(const Firebird::FbException &e)
{
    const QList<qint64> codes = errorCodes(e);
    if (isConnectionLoss(codes)) {
        reportConnectionLoss();
        throw EDatabaseError(connectionLossText(), codes);
    }
    const QString cause = causeInGerman(e);
    const QString text = errorText(e);
    throw EDatabaseError(cause.isEmpty() ? text : cause + u'\n' + text, codes);
}

} // namespace fb
