#!/usr/bin/python3
"""le-atspi.py PID
le-atspi.py --eventos PID

Reads, through the AT-SPI registry, the accessibility tree of the application whose process
is PID, as a screen reader reads it, and writes one JSON object per accessible object: its
role, name, description, text, the names of the objects its labelled-by relation points to,
its states and its path of child indexes from the application. Fails with a message when
the application never registers.

With --eventos, writes instead one JSON object per change a screen reader is told of in
that application (names, descriptions, texts, focus): the event's type, its source's role and
name and the event's text. It writes "pronto" once it listens, and stops when its standard
input closes."""

import json
import sys
import time

import pyatspi


def aplicacao(pid):
    # The application registers itself on the bus shortly after it starts.
    for _ in range(200):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == pid:
                return app
        time.sleep(0.05)
    return None


def texto(obj):
    try:
        t = obj.queryText()
    except NotImplementedError:
        return None
    return t.getText(0, -1)


def rotulos(obj):
    nomes = []
    for relacao in obj.getRelationSet():
        if relacao.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relacao.getNTargets()):
                nomes.append(relacao.getTarget(i).name)
    return nomes


def percorre(obj, caminho, saida):
    estados = obj.getState()
    saida.append({
        "caminho": caminho,
        "papel": obj.getRoleName(),
        "nome": obj.name,
        "descricao": obj.description,
        "texto": texto(obj),
        "rotulos": rotulos(obj),
        "estados": [pyatspi.stateToString(e) for e in estados.getStates()],
    })
    for i in range(obj.childCount):
        filho = obj.getChildAtIndex(i)
        if filho is not None:
            percorre(filho, caminho + [i], saida)


EVENTOS = [
    "object:property-change:accessible-name",
    "object:property-change:accessible-description",
    "object:text-changed",
    "object:state-changed:focused",
    "object:state-changed:showing",
    "window:create",
]


def escuta(pid):
    from gi.repository import GLib

    def evento(e):
        try:
            if e.host_application is None or e.host_application.get_process_id() != pid:
                return
            fonte = e.source
            print(json.dumps({
                "tipo": e.type,
                "papel": fonte.getRoleName(),
                "nome": fonte.name,
                "dado": e.any_data if isinstance(e.any_data, str) else str(e.any_data),
                "detalhe": e.detail1,
            }, ensure_ascii=False), flush=True)
        except Exception as erro:  # an object gone before it is read is not a reader fault
            sys.stderr.write(f"le-atspi: {erro}\n")

    for tipo in EVENTOS:
        pyatspi.Registry.registerEventListener(evento, tipo)

    def fim(*_):
        pyatspi.Registry.stop()
        return False

    GLib.io_add_watch(sys.stdin, GLib.IO_HUP | GLib.IO_IN | GLib.IO_ERR, fim)
    # The registry passes events on only once the listener is registered with it; a round
    # trip to the desktop makes sure that has happened.
    pyatspi.Registry.getDesktop(0).childCount
    print("pronto", flush=True)
    pyatspi.Registry.start()
    return 0


def main():
    if sys.argv[1] == "--eventos":
        pid = int(sys.argv[2])
        if aplicacao(pid) is None:
            sys.stderr.write(f"le-atspi: o processo {pid} não se registrou no barramento AT-SPI\n")
            return 1
        return escuta(pid)
    pid = int(sys.argv[1])
    app = aplicacao(pid)
    if app is None:
        sys.stderr.write(f"le-atspi: o processo {pid} não se registrou no barramento AT-SPI\n")
        return 1
    objetos = []
    percorre(app, [], objetos)
    for o in objetos:
        print(json.dumps(o, ensure_ascii=False))
    return 0


if __name__ == "__main__":
    sys.exit(main())
