#include "sistema/ArquivoSaida.h"

#include "sistema/MotivosFalha.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool mesmoArquivo(const struct stat& a, int descritor) {
    struct stat b {};
    return fstat(descritor, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A socket file takes no open(): it is connected to, as a stream.
int conectaSoquete(const QByteArray& caminho) {
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    if (std::size_t(caminho.size()) >= sizeof endereco.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(endereco.sun_path, caminho.constData(), std::size_t(caminho.size()));
    const int soquete = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (soquete < 0)
        return -1;
    if (::connect(soquete, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) != 0) {
        const int erro = errno;
        ::close(soquete);
        errno = erro;
        return -1;
    }
    return soquete;
}

} // namespace

ArquivoSaida::ArquivoSaida(QString caminho) : fCaminho(std::move(caminho)) {}

ArquivoSaida::ArquivoSaida(int descritor, QString nome)
    : fNome(std::move(nome)), fDescritor(descritor) {
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

ArquivoSaida::~ArquivoSaida() {
    if (fDescritorProprio && fDescritor >= 0)
        ::close(fDescritor);
}

void ArquivoSaida::abre() {
    const QByteArray caminho = QFile::encodeName(fCaminho);
    struct stat info {};
    if (::stat(caminho.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            registraFalha(EISDIR);
            throw ErroSaidaEmPasta(erro().mensagem());
        }
        for (const int padrao : {STDOUT_FILENO, STDERR_FILENO})
            if (mesmoArquivo(info, padrao)) {
                fDescritor = padrao;
                QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
                return;
            }
        if (!S_ISREG(info.st_mode)) {
            abreNoLugar(caminho);
            return;
        }
    }
    // A new path, or one that cannot even be looked at, takes the same way as a regular
    // file: its failure, if any, comes from the open itself.
    fSalvo = std::make_unique<QSaveFile>(fCaminho);
    if (!fSalvo->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        registraFalha(motivoDoArquivo(*fSalvo));
        fSalvo.reset();
        throw erro();
    }
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void ArquivoSaida::abreNoLugar(const QByteArray& caminho) {
    struct stat info {};
    const bool soquete = ::stat(caminho.constData(), &info) == 0 && S_ISSOCK(info.st_mode);
    fDescritor = soquete ? conectaSoquete(caminho)
                         : ::open(caminho.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fDescritor < 0) {
        registraFalha(errno);
        throw erro();
    }
    fDescritorProprio = true;
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

int ArquivoSaida::descritor() const {
    return fSalvo ? fSalvo->handle() : fDescritor;
}

qint64 ArquivoSaida::readData(char*, qint64) {
    return -1;
}

qint64 ArquivoSaida::writeData(const char* dados, qint64 tamanho) {
    if (falhou())
        return -1;
    const int destino = descritor();
    qint64 escritos = 0;
    while (escritos < tamanho) {
        const ssize_t n = ::write(destino, dados + escritos, std::size_t(tamanho - escritos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that takes nothing without a reason is a full device all the same.
            registraFalha(n < 0 ? errno : ENOSPC);
            return -1;
        }
        escritos += n;
    }
    return escritos;
}

void ArquivoSaida::registraFalha(int codigo) {
    if (falhou())
        return;
    fCodigoErro = codigo;
    fMotivo = motivoDoSistema(codigo);
    setErrorString(fMotivo);
}

void ArquivoSaida::registraFalha(const QString& motivo) {
    if (falhou())
        return;
    fMotivo = motivo;
    setErrorString(fMotivo);
}

void ArquivoSaida::conclui() {
    if (fSalvo) {
        if (falhou())
            fSalvo->cancelWriting();
        else if (!fSalvo->commit())
            registraFalha(motivoDoArquivo(*fSalvo));
        fSalvo.reset();
    } else if (fDescritorProprio && fDescritor >= 0) {
        // Some file systems only say at the close that a write did not reach them.
        if (::close(fDescritor) != 0)
            registraFalha(errno);
        fDescritor = -1;
        fDescritorProprio = false;
    }
    QIODevice::close();
    if (falhou())
        throw erro();
}

ErroEntradaSaida ArquivoSaida::falha(const QString& motivo) {
    registraFalha(motivo);
    return erro();
}

ErroEntradaSaida ArquivoSaida::erro() const {
    if (!fNome.isEmpty())
        return ErroEntradaSaida(QStringLiteral("Erro de gravação na %1: %2").arg(fNome, fMotivo));
    return ErroEntradaSaida(
        QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(fCaminho, fMotivo));
}
