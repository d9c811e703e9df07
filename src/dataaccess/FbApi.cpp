#include "FbApi.h"
#include "DbError.h"
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QtGlobal>
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

QString privateFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    ::mkdir(name.constData(), 0700);
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()) {
        if ((st.st_mode & 077) != 0)
            ::chmod(name.constData(), 0700);
        return path;
    }
    // Somebody else's folder (or a link, or a file) under the expected name:
    // a fresh one of our own instead of failing or sharing it.
    QByteArray fresh = QFile::encodeName(QDir::tempPath() + QStringLiteral("/velmora-%1-XXXXXX").arg(::getuid()));
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

void throwDatabaseError(const Firebird::FbException &e) { throw EDatabaseError(errorText(e), errorCodes(e)); }

} // namespace fb
