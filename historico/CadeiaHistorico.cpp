#include "historico/CadeiaHistorico.h"

#include "historico/ErroHistorico.h"

#include <openssl/evp.h>

namespace {

void acrescenta(QByteArray& texto, const char* nome, const QByteArray& valor) {
    texto += nome;
    texto += ':';
    texto += QByteArray::number(valor.size());
    texto += ':';
    texto += valor;
    texto += '\n';
}

} // namespace

QString hashInicial() {
    return QString(64, QLatin1Char('0'));
}

QByteArray textoCanonico(const LinhaHistorico& l) {
    QByteArray t;
    t.reserve(l.conteudo.size() + 512);
    t += "belqor-historico 1\n";
    acrescenta(t, "id", QByteArray::number(l.id));
    acrescenta(t, "tipo", l.tipo.toUtf8());
    acrescenta(t, "momento", l.momento.toUtf8());
    acrescenta(t, "usuario", l.usuario.toUtf8());
    acrescenta(t, "maquina", l.maquina.toUtf8());
    acrescenta(t, "versao", l.versao.toUtf8());
    acrescenta(t, "documento", l.documento.toUtf8());
    acrescenta(t, "nome", l.nome.toUtf8());
    acrescenta(t, "valor", QByteArray::number(l.valor));
    acrescenta(t, "total", QByteArray::number(l.total));
    acrescenta(t, "conteudo", l.conteudo.toUtf8());
    acrescenta(t, "hash_anterior", l.hashAnterior.toUtf8());
    return t;
}

QString sha256Hexadecimal(const QByteArray& bytes) {
    unsigned char resumo[EVP_MAX_MD_SIZE];
    unsigned int tamanho = 0;
    if (EVP_Digest(bytes.constData(), std::size_t(bytes.size()), resumo, &tamanho, EVP_sha256(),
                   nullptr) != 1)
        throw ErroHistorico(ErroHistorico::Tipo::Gravacao,
                            QStringLiteral("A biblioteca libcrypto não calculou um SHA-256."));
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(resumo), int(tamanho)).toHex());
}

QString hashDaLinha(const LinhaHistorico& linha) {
    return sha256Hexadecimal(textoCanonico(linha));
}
