#include "widgets/AcessivelPorClasse.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

namespace {

struct Registro {
    QAccessible::Role papel;
    std::function<QString(const QWidget*)> nome;
    bool oculto;
};

QHash<QString, Registro>& registros() {
    static QHash<QString, Registro> r;
    return r;
}

class AcessivelRegistrado : public QAccessibleWidget {
public:
    AcessivelRegistrado(QWidget* widget, const Registro& registro)
        : QAccessibleWidget(widget, registro.papel), fNome(registro.nome),
          fOculto(registro.oculto) {}
    QString text(QAccessible::Text tipo) const override {
        if (tipo == QAccessible::Name)
            return fNome(widget());
        return QAccessibleWidget::text(tipo);
    }
    QAccessible::State state() const override {
        QAccessible::State estado = QAccessibleWidget::state();
        if (fOculto)
            estado.invisible = true;
        return estado;
    }

private:
    std::function<QString(const QWidget*)> fNome;
    bool fOculto;
};

QAccessibleInterface* fabrica(const QString& classe, QObject* objeto) {
    const auto r = registros().constFind(classe);
    if (r == registros().cend() || !objeto->isWidgetType())
        return nullptr;
    return new AcessivelRegistrado(static_cast<QWidget*>(objeto), *r);
}

} // namespace

void registraAcessivel(const QMetaObject& classe, QAccessible::Role papel,
                       std::function<QString(const QWidget*)> nome, bool oculto) {
    static const bool instalada = (QAccessible::installFactory(fabrica), true);
    Q_UNUSED(instalada);
    registros().insert(QString::fromLatin1(classe.className()), {papel, std::move(nome), oculto});
}
