#include "historico/CadeiaHistorico.h"

#include <QCryptographicHash>

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

QString hashDaLinha(const LinhaHistorico& linha) {
    return QString::fromLatin1(
        QCryptographicHash::hash(textoCanonico(linha), QCryptographicHash::Sha256).toHex());
}
