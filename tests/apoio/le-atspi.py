#!/usr/bin/python3
"""le-atspi.py PID

Reads, through the AT-SPI registry, the accessibility tree of the application whose process
is PID, as a screen reader reads it, and writes one JSON object per accessible object: its
role, name, description, text, the names of the objects its labelled-by relation points to,
its states and its path of child indexes from the application. Fails with a message when
the application never registers."""

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


def main():
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
