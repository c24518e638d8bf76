#include "widgets/AcessivelPorClasse.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

namespace {

struct Registro {
    QAccessible::Role papel;
    std::function<QString(const QWidget*)> nome;
};

QHash<QString, Registro>& registros() {
    static QHash<QString, Registro> r;
    return r;
}

class AcessivelRegistrado : public QAccessibleWidget {
public:
    AcessivelRegistrado(QWidget* widget, const Registro& registro)
        : QAccessibleWidget(widget, registro.papel), fNome(registro.nome) {}
    QString text(QAccessible::Text tipo) const override {
        if (tipo == QAccessible::Name)
            return fNome(widget());
        return QAccessibleWidget::text(tipo);
    }

private:
    std::function<QString(const QWidget*)> fNome;
};

QAccessibleInterface* fabrica(const QString& classe, QObject* objeto) {
    const auto r = registros().constFind(classe);
    if (r == registros().cend() || !objeto->isWidgetType())
        return nullptr;
    return new AcessivelRegistrado(static_cast<QWidget*>(objeto), *r);
}

} // namespace

void registraAcessivel(const QMetaObject& classe, QAccessible::Role papel,
                       std::function<QString(const QWidget*)> nome) {
    static const bool instalada = (QAccessible::installFactory(fabrica), true);
    Q_UNUSED(instalada);
    registros().insert(QString::fromLatin1(classe.className()), {papel, std::move(nome)});
}
