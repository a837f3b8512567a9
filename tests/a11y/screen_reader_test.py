#!/usr/bin/python3
"""The window as a screen reader reads it, over AT-SPI.

Runs the kalventa program given as the first argument (under the X server and
the session bus that run.sh starts), reads the accessibility tree as Orca
does (roles, names, descriptions, relations), fills the fields through the
editable-text interface, chooses options and presses buttons through their
accessible actions, chooses list items with the keyboard, and listens for the
description changes that announce each run's summary on its button.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 30

# xdotool runs untranslated; the program keeps the user's locale.
XDOTOOL_ENVIRONMENT = {**os.environ, "LC_ALL": "C"}

failures = []
checks = 0


def check(what, found, expected):
    global checks
    checks += 1
    if found != expected:
        failures.append(f"{what}: expected {expected!r}, found {found!r}")


def pump(seconds=0.0):
    """Dispatches AT-SPI events for a while (or just the pending ones)."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.01)


def wait_until(condition, what):
    end = time.monotonic() + TIMEOUT
    while time.monotonic() < end:
        pump()
        try:
            value = condition()
        except GLib.GError:
            # An object went away while the tree was walked (a box closing):
            # look again.
            value = None
        if value:
            return value
        time.sleep(0.02)
    raise SystemExit(f"FAIL: timed out waiting for {what}")


def application():
    def find():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "kalventa" and app.childCount > 0:
                return app
        return None
    return wait_until(find, "the kalventa window on the accessibility bus")


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def nodes(app, role=None, name=None, name_prefix=None, description_prefix=None):
    found = []
    for node in walk(app):
        if role is not None and node.getRoleName() != role:
            continue
        if name is not None and node.name != name:
            continue
        if name_prefix is not None and not node.name.startswith(name_prefix):
            continue
        if description_prefix is not None and not node.description.startswith(description_prefix):
            continue
        found.append(node)
    return found


def one(app, **what):
    found = nodes(app, **what)
    if len(found) != 1:
        raise SystemExit(f"FAIL: {len(found)} accessible objects match {what}")
    return found[0]


def labelled_by(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def do_action(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise SystemExit(f"FAIL: {node.name!r} has no action {action!r}, only {names}")
    actions.doAction(names.index(action))


def type_into(app, field_name, text):
    one(app, role="text", name=field_name).queryEditableText().setTextContents(text)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "20", *keys], check=True, env=XDOTOOL_ENVIRONMENT)


def focus_window():
    """Gives the window the keyboard, as clicking its title would (there is no window manager)."""
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Кальвента",
                    "windowfocus", "--sync"], check=True, stdout=subprocess.DEVNULL, env=XDOTOOL_ENVIRONMENT)


def choose(app, list_name, index):
    """Chooses a list's item with the keyboard, as a person without a mouse does."""
    target = one(app, role="combo box", name=list_name)
    focus_window()
    target.queryComponent().grabFocus()
    wait_until(lambda: target.getState().contains(pyatspi.STATE_FOCUSED), f"focus on {list_name}")
    key("Home", *(["Down"] * index))


# Every input and result, named as a screen reader says it before any run.
NAMES_AT_START = [
    ("text", "Вес груза, кг, для расчёта каната", ""),
    ("text", "Разрывное усилие каната, Н", ""),
    ("label", "Минимальное допустимое натяжение каната: нет результата",
     "Sмин = Q · k · 10 — минимальное допустимое натяжение каната, Н"),
    ("label", "Заключение о канате: нет результата",
     "Канат не допустим, если Fр < Sмин: разрывное усилие каната меньше минимального допустимого натяжения"),
    ("text", "Диаметр каната, мм", ""),
    ("label", "Минимальный диаметр барабана: нет результата", "Dмин = 19 · d — минимальный диаметр барабана, мм"),
    ("label", "Максимальная длина барабана: нет результата", "Lмакс = 3 · Dмин — максимальная длина барабана, мм"),
    ("text", "Диаметр барабана, мм", ""),
    ("text", "Длина барабана, мм", ""),
    ("text", "Диаметр каната d, мм", ""),
    ("text", "Вес груза, кг, для расчёта канатоёмкости", ""),
    ("combo box", "Количество слоёв каната", "Ничего не выбрано"),
    ("combo box", "Материал барабана", "Ничего не выбрано"),
    ("label", "Слоёв каната: нет результата", "N — число слоёв каната"),
    ("label", "Диаметр реборды: нет результата", "F = PN + d + 2 · d · Y — диаметр реборды, мм"),
    ("label", "Витков в слое: нет результата", "n = ⌊L / d⌋ — число витков в слое"),
    ("label", "Толщина стенки барабана: нет результата", "t = ⌈Q / ([σ] · d)⌉ — толщина стенки барабана, мм"),
    ("label", "Остаток длины барабана за последним витком: нет результата",
     "g = L − n · d — остаток длины барабана за последним витком, мм"),
    ("label", "Канатоёмкость без учёта неравномерности укладки: нет результата",
     "S = l1 + … + lN — канатоёмкость без учёта неравномерности укладки, м"),
    ("label", "Канатоёмкость: нет результата", "Sк = 0.9 · S — канатоёмкость, м"),
    ("panel", "Режим работы", ""),
    ("panel", "Размер Y (см. черт.)", ""),
    ("push button", "Расчет", "Расчёт каната: минимальное допустимое натяжение каната и заключение о канате"),
    ("push button", "Расчёт",
     "Допустимые размеры барабана: минимальный диаметр и максимальная длина барабана"),
    ("push button", "Расчёт",
     "Расчёт канатоёмкости: витки, слои, диаметр реборды, канатоёмкость и толщина стенки барабана"),
]

# Caption label and the control it names, as the labelled-by relation says.
CAPTIONS = [
    ("text", "Вес груза, кг, для расчёта каната", "Вес груза, кг"),
    ("label", "Минимальное допустимое натяжение каната: нет результата",
     "Минимальное допустимое натяжение каната, Н"),
    ("combo box", "Количество слоёв каната", "Кол-во слоёв каната, мм *"),
    ("label", "Канатоёмкость: нет результата", "Канатоёмкость, м"),
]


def check_start(app):
    check("window role", app[0].getRoleName(), "frame")
    check("window name", app[0].name, "Кальвента ")
    sketch = one(app, name="Эскиз барабана")
    check("sketch role", sketch.getRoleName(), "image")
    check("sketch description", sketch.description.startswith("Барабан сбоку"), True)
    for role, name, description in NAMES_AT_START:
        found = nodes(app, role=role, name=name)
        descriptions = sorted(node.description for node in found)
        check(f"{role} {name!r}", description in descriptions, True)
    for role, name, caption in CAPTIONS:
        node = one(app, role=role, name=name)
        check(f"caption of {name!r}", caption in labelled_by(node), True)
    # No two inputs or results share a name, and no caption label repeats one.
    seen = {}
    for node in walk(app):
        if node.getRoleName() in ("text", "combo box") or node.name.endswith(": нет результата"):
            seen.setdefault(node.name, 0)
            seen[node.name] += 1
    check("names heard twice", [name for name, count in seen.items() if count > 1], [])


class Announcements:
    """Every description change of a button and the description it brought.

    Qt 6.4's bridge sends the changed object as the event's data, not the new
    text, so the listener reads the description from the event's source at
    once, as a screen reader does.
    """

    def __init__(self):
        self.heard = []
        pyatspi.Registry.registerEventListener(self.on_event, "object:property-change:accessible-description")

    def on_event(self, event):
        if event.source is not None and event.source.getRoleName() == "push button":
            self.heard.append(event.source.description)

    def next(self, what):
        count = len(self.heard)
        return lambda: self.heard[count] if len(self.heard) > count else None


def press(app, announcements, description_prefix):
    button = one(app, role="push button", description_prefix=description_prefix)
    heard = announcements.next(description_prefix)
    do_action(button, "Press")
    return wait_until(heard, f"the summary of {description_prefix}"), button


def result_names(app, prefixes):
    return [one(app, role="label", name_prefix=prefix + ":").name for prefix in prefixes]


def run_rope_check(app, announcements):
    type_into(app, "Вес груза, кг, для расчёта каната", "1000")
    type_into(app, "Разрывное усилие каната, Н", "50000")
    do_action(one(app, role="radio button", name="Средний (к=5,5)"), "Toggle")
    summary, button = press(app, announcements, "Расчёт каната")
    check("rope check summary", summary, "Расчёт каната: натяжение 55000 Н; канат не допустим")
    check("rope check description", button.description, summary)
    check("rope check results", result_names(app, ["Минимальное допустимое натяжение каната", "Заключение о канате"]),
          ["Минимальное допустимое натяжение каната: 55000 Н", "Заключение о канате: Не допустимо"])
    # The same run again is announced again.
    summary, _ = press(app, announcements, "Расчёт каната")
    check("rope check summary, second press", summary, "Расчёт каната: натяжение 55000 Н; канат не допустим")


def run_drum_size_limits(app, announcements):
    type_into(app, "Диаметр каната, мм", "12,5")
    summary, _ = press(app, announcements, "Допустимые размеры барабана")
    check("drum size limits summary", summary,
          "Допустимые размеры барабана: диаметр барабана не менее 228 мм; длина барабана не более 684 мм")
    check("formula read after the result", one(app, role="label", name_prefix="Минимальный диаметр барабана:").description,
          "Dмин = 19 · d = 19 · 12 = 228 мм")
    check("misread notice of the rope diameter", one(app, role="text", name="Диаметр каната, мм").description,
          "Прочитано как 12: запятая не входит в число. Для 12,5 введите 12.5")
    type_into(app, "Диаметр каната, мм", "12")
    wait_until(lambda: one(app, role="text", name="Диаметр каната, мм").description == "", "the notice to go")


def run_rope_capacity(app, announcements):
    for name, text in [("Диаметр барабана, мм", "400"), ("Длина барабана, мм", "800"),
                       ("Диаметр каната d, мм", "15"), ("Вес груза, кг, для расчёта канатоёмкости", "5000")]:
        type_into(app, name, text)
    choose(app, "Количество слоёв каната", 2)
    choose(app, "Материал барабана", 0)
    wait_until(lambda: one(app, role="combo box", name="Количество слоёв каната").description == "Выбрано: 3",
               "the layer count to be chosen")
    do_action(one(app, role="radio button", name="1,5d"), "Toggle")
    summary, _ = press(app, announcements, "Расчёт канатоёмкости")
    check("rope capacity summary", summary,
          "Расчёт канатоёмкости: слоёв 3; диаметр реборды 535 мм; витков 53; толщина стенки 24 мм; "
          "остаток 5 мм; канатоёмкость без учёта укладки 222.2832 м; канатоёмкость 200.0549 м")
    check("rope capacity results",
          result_names(app, ["Слоёв каната", "Диаметр реборды", "Витков в слое", "Толщина стенки барабана",
                             "Остаток длины барабана за последним витком",
                             "Канатоёмкость без учёта неравномерности укладки", "Канатоёмкость"]),
          ["Слоёв каната: 3", "Диаметр реборды: 535 мм", "Витков в слое: 53", "Толщина стенки барабана: 24 мм",
           "Остаток длины барабана за последним витком: 5 мм",
           "Канатоёмкость без учёта неравномерности укладки: 222.2832 м", "Канатоёмкость: 200.0549 м"])
    check("chosen material", one(app, role="combo box", name="Материал барабана").description,
          "Выбрано: Сталь. сварн.(1400 кг/см2)")


def run_into_an_error(app, announcements):
    type_into(app, "Длина барабана, мм", "327675")
    type_into(app, "Диаметр каната d, мм", "10")
    summary, _ = press(app, announcements, "Расчёт канатоёмкости")
    check("error summary", summary,
          "Расчёт канатоёмкости: расчёт остановлен, переполнение (число витков в слое). Результаты не рассчитаны")
    alert = wait_until(lambda: nodes(app, role="alert"), "the error box")[0]
    texts = [node.name for node in walk(alert)]
    check("error box says overflow", any(text.startswith("Переполнение") for text in texts), True)
    do_action(one(alert, role="push button"), "Press")
    wait_until(lambda: not nodes(app, role="alert"), "the error box to close")
    check("results emptied after the error", result_names(app, ["Слоёв каната"]),
          ["Слоёв каната: не рассчитано, расчёт остановлен"])


def run_rules_check(app):
    """F9 opens the check against today's rules beside the window; its controls are named, and the summary
    of a group chosen by keyboard is told on the focused list."""
    focus_window()
    key("F9")
    dialog = wait_until(lambda: nodes(app, role="dialog", name="Проверка по действующим правилам"), "the check")[0]
    check("check description", dialog.description,
          "Справочная проверка по действующим правилам — не входит в исходную методику")
    check("check controls",
          [(node.getRoleName(), node.name) for node in walk(dialog)
           if node.getRoleName() in ("combo box", "radio button", "text", "push button")],
          [("combo box", "Группа классификации механизма, M1–M8"),
           ("radio button", "Канат бегучий или стоячий: бегучий"),
           ("radio button", "Канат бегучий или стоячий: стоячий"),
           ("text", "Кратность полиспаста u, пустое поле — 1"),
           ("text", "Ветвей каната, навиваемых на барабан, a, пустое поле — 1"),
           ("text", "КПД полиспаста η, пустое поле — по кратности и подшипникам блоков"),
           ("radio button", "Подшипники блоков: качения, ηб = 0.985"),
           ("radio button", "Подшипники блоков: скольжения, ηб = 0.95"),
           ("text", "Масса крюковой подвески m, кг, пустое поле — 0"),
           ("text", "Результаты проверки"),
           ("push button", "Закрыть")])
    group = one(dialog, role="combo box", name="Группа классификации механизма, M1–M8")
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Проверка по действующим правилам",
                    "windowfocus", "--sync"], check=True, stdout=subprocess.DEVNULL)
    group.queryComponent().grabFocus()
    wait_until(lambda: group.getState().contains(pyatspi.STATE_FOCUSED), "focus on the group")
    key("Home", *(["Down"] * 5))
    summary = ("Проверка по действующим правилам, группа M6: канат: не выполнено, Zp 5.096 < 5.60, требуется "
               "Fр ≥ 54936 Н, наивысшая группа M5; барабан: выполнено, h1 41 ≥ 20, наивысшая группа M8")
    wait_until(lambda: group.description == summary, "the check's summary on the group")
    results = one(dialog, role="text", name="Результаты проверки").queryText()
    lines = results.getText(0, results.characterCount).split("\n")
    check("check verdict read", "  Группа M6, канат бегучий: Zp = 5.096 < 5.60 — требование не выполнено; "
          "требуется Fр ≥ 5.60 · S = 54936 Н" in lines, True)


def main():
    program = subprocess.Popen([sys.argv[1]])
    try:
        app = application()
        check_start(app)
        announcements = Announcements()
        run_rope_check(app, announcements)
        run_drum_size_limits(app, announcements)
        run_rope_capacity(app, announcements)
        run_into_an_error(app, announcements)
        run_rules_check(app)
        for text in announcements.heard:
            print("heard:", text)
    finally:
        program.terminate()
        program.wait(TIMEOUT)
    for failure in failures:
        print("FAIL:", failure)
    print(f"screen reader: {checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
