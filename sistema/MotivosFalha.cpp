#include "sistema/MotivosFalha.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QProcess>
#include <QSaveFile>
#include <QtGlobal>

#include <cerrno>

namespace {

// Qt words its own file failures through its translations: compared as it words them now,
// with or without a catalogue installed.
QString textoDoQt(const char* contexto, const char* texto) {
    return QCoreApplication::translate(contexto, texto);
}

// The errno whose text Qt put in an error string; 0 when the text is none of them.
int codigoDoTexto(const QString& texto) {
    constexpr int MaiorCodigo = 200;
    for (int codigo = 1; codigo <= MaiorCodigo; ++codigo)
        if (qt_error_string(codigo) == texto)
            return codigo;
    return 0;
}

QString motivoDoTipo(QFileDevice::FileError erro) {
    switch (erro) {
    case QFileDevice::ReadError:
        return QStringLiteral("erro de leitura");
    case QFileDevice::WriteError:
        return QStringLiteral("erro de gravação");
    case QFileDevice::OpenError:
        return QStringLiteral("o arquivo não pôde ser aberto");
    case QFileDevice::ResourceError:
        return QStringLiteral("recursos do sistema insuficientes");
    case QFileDevice::RemoveError:
        return QStringLiteral("o arquivo não pôde ser removido");
    case QFileDevice::RenameError:
        return QStringLiteral("o arquivo não pôde ser renomeado");
    case QFileDevice::CopyError:
        return QStringLiteral("o arquivo não pôde ser copiado");
    case QFileDevice::PermissionsError:
        return QStringLiteral("as permissões do arquivo não puderam ser alteradas");
    default:
        return QStringLiteral("erro desconhecido");
    }
}

} // namespace

QString motivoDoSistema(int codigo) {
    switch (codigo) {
    case EPERM:
        return QStringLiteral("operação não permitida");
    case ENOENT:
        return QStringLiteral("arquivo ou pasta inexistente");
    case EINTR:
        return QStringLiteral("operação interrompida");
    case EIO:
        return QStringLiteral("erro de entrada/saída no dispositivo");
    case ENXIO:
        return QStringLiteral("dispositivo ou endereço inexistente");
    case EBADF:
        return QStringLiteral("descritor de arquivo inválido");
    case EAGAIN:
        return QStringLiteral("recurso temporariamente indisponível");
    case ENOMEM:
        return QStringLiteral("memória insuficiente");
    case EACCES:
        return QStringLiteral("permissão negada");
    case EBUSY:
        return QStringLiteral("dispositivo ou recurso ocupado");
    case EEXIST:
        return QStringLiteral("o arquivo já existe");
    case EXDEV:
        return QStringLiteral("origem e destino estão em dispositivos diferentes");
    case ENODEV:
        return QStringLiteral("dispositivo inexistente");
    case ENOTDIR:
        return QStringLiteral("uma parte do caminho não é uma pasta");
    case EISDIR:
        return QStringLiteral("o caminho é uma pasta");
    case EINVAL:
        return QStringLiteral("argumento inválido");
    case ENFILE:
    case EMFILE:
        return QStringLiteral("arquivos abertos demais");
    case ENOTTY:
        return QStringLiteral("operação imprópria para o dispositivo");
    case ETXTBSY:
        return QStringLiteral("arquivo de programa em uso");
    case EFBIG:
        return QStringLiteral("arquivo grande demais");
    case ENOSPC:
        return QStringLiteral("não há espaço livre no dispositivo");
    case ESPIPE:
        return QStringLiteral("o dispositivo não permite posicionamento");
    case EROFS:
        return QStringLiteral("sistema de arquivos somente para leitura");
    case EMLINK:
        return QStringLiteral("ligações demais");
    case EPIPE:
        return QStringLiteral("o outro lado fechou a comunicação");
    case ENAMETOOLONG:
        return QStringLiteral("nome de arquivo longo demais");
    case ENOLCK:
        return QStringLiteral("não há travas disponíveis");
    case ENOSYS:
    case EOPNOTSUPP:
        return QStringLiteral("operação não suportada");
    case ENOTEMPTY:
        return QStringLiteral("a pasta não está vazia");
    case ELOOP:
        return QStringLiteral("ligações simbólicas demais");
    case EOVERFLOW:
        return QStringLiteral("valor grande demais para o tipo de dado");
    case EDQUOT:
        return QStringLiteral("cota de disco excedida");
    case ESTALE:
        return QStringLiteral("o arquivo remoto não está mais disponível");
    case ENOTCONN:
        return QStringLiteral("não há conexão");
    case ECONNREFUSED:
        return QStringLiteral("conexão recusada");
    case ECONNRESET:
        return QStringLiteral("a conexão foi interrompida pelo outro lado");
    case ECONNABORTED:
        return QStringLiteral("a conexão foi abortada");
    case ETIMEDOUT:
        return QStringLiteral("o tempo de espera da conexão se esgotou");
    case EHOSTUNREACH:
        return QStringLiteral("o servidor está inacessível");
    case ENETUNREACH:
        return QStringLiteral("a rede está inacessível");
    case ENETDOWN:
        return QStringLiteral("a rede está fora do ar");
    case EADDRINUSE:
        return QStringLiteral("o endereço já está em uso");
    case ECANCELED:
        return QStringLiteral("operação cancelada");
    default:
        return QStringLiteral("erro %1 do sistema").arg(codigo);
    }
}

QString motivoDoArquivo(const QIODevice& dispositivo) {
    const QString texto = dispositivo.errorString();
    const auto* arquivo = qobject_cast<const QFileDevice*>(&dispositivo);
    if (!arquivo) {
        const int codigo = codigoDoTexto(texto);
        return codigo ? motivoDoSistema(codigo) : texto;
    }
    if (texto == QSaveFile::tr("Existing file %1 is not writable").arg(arquivo->fileName()))
        return QStringLiteral("o arquivo existente não permite gravação");
    if (texto == QSaveFile::tr("Filename refers to a directory") ||
        texto == textoDoQt("QFSFileEngine", "file to open is a directory"))
        return motivoDoSistema(EISDIR);
    if (texto == QSaveFile::tr("Writing canceled by application"))
        return QStringLiteral("gravação cancelada");
    if (const int codigo = codigoDoTexto(texto))
        return motivoDoSistema(codigo);
    return motivoDoTipo(arquivo->error());
}

QString motivoDoProcesso(const QProcess& processo) {
    // "execvp: No such file or directory": the call, then the system's reason.
    const QString texto = processo.errorString();
    const qsizetype separador = texto.lastIndexOf(QLatin1String(": "));
    if (const int codigo = codigoDoTexto(separador < 0 ? texto : texto.mid(separador + 2)))
        return motivoDoSistema(codigo);
    switch (processo.error()) {
    case QProcess::FailedToStart:
        return QStringLiteral("o programa não pôde ser iniciado");
    case QProcess::Crashed:
        return QStringLiteral("o programa terminou de forma anormal");
    case QProcess::Timedout:
        return QStringLiteral("o tempo de espera se esgotou");
    default:
        return QStringLiteral("erro ao executar o programa");
    }
}

QString motivoDoXml(QXmlStreamReader::Error erro) {
    switch (erro) {
    case QXmlStreamReader::NoError:
        return QString();
    case QXmlStreamReader::PrematureEndOfDocumentError:
        return QStringLiteral("o documento termina antes do fim");
    case QXmlStreamReader::UnexpectedElementError:
        return QStringLiteral("elemento fora do lugar");
    case QXmlStreamReader::NotWellFormedError:
        return QStringLiteral("o documento não é XML bem formado");
    case QXmlStreamReader::CustomError:
        break;
    }
    return QStringLiteral("o documento XML não pôde ser lido");
}
