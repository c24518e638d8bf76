#include "widgets/FiltroTeclas.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

class FiltroTeclas : public QObject {
public:
    FiltroTeclas(QWidget* alvo, std::function<bool(QKeyEvent*)> trata)
        : QObject(alvo), fTrata(std::move(trata)) {
        alvo->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        return evento->type() == QEvent::KeyPress && fTrata(static_cast<QKeyEvent*>(evento));
    }

private:
    std::function<bool(QKeyEvent*)> fTrata;
};

} // namespace

void filtraTeclas(QWidget* alvo, std::function<bool(QKeyEvent*)> trata) {
    new FiltroTeclas(alvo, std::move(trata));
}
