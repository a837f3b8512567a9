// The browser edition's window: the same Form1 as the desktop's, built in one
// loop from the window's tables (windowTables, which the build writes from
// the desktop window's own tables and places before this text), and the same
// calculations, run by the core compiled to WebAssembly on this page's
// controls.

const tables = windowTables;
const form = document.getElementById(tables.formName);

// Both faces are read (the files are preloaded) while the window is built,
// not only once its first layout asks for them.
for (const weight of [400, 700])
  document.fonts.load(`${weight} 11px "${tables.fontFamily}"`);

// Twips to the pixels of 96 dots per inch, cut as the desktop cuts them.
const pixels = twips => Math.trunc(twips / tables.twipsPerPixel);

// Rounds half away from zero, as C++'s std::lround does.
const lround = value => Math.sign(value) * Math.round(Math.abs(value));

function place(element, box) {
  Object.assign(element.style, {
    left: `${pixels(box.left)}px`,
    top: `${pixels(box.top)}px`,
    width: `${pixels(box.width)}px`,
    height: `${pixels(box.height)}px`,
  });
}

// A font's size in pixels at 96 dots per inch, and its line spacing: ascent,
// descent and gap of Liberation Sans make 1.15 of the size.
const fontPixels = formName => (tables.fonts[formName].points * 96) / 72;
const lineSpacing = formName => Math.round(fontPixels(formName) * 1.15);

function setFont(element, formName) {
  const font = tables.fonts[formName];
  element.style.fontSize = `${font.points}pt`;
  element.style.fontWeight = font.bold ? '700' : '400';
  element.style.textDecoration = font.underlined ? 'underline' : 'none';
  // Blanks are kept (a result's leading blank, the credit line's runs of
  // them), except under an underline, which would run on under the blank at
  // the end of a broken line.
  if (font.underlined)
    element.style.whiteSpace = 'normal';
}

// The pixels of a line one pixel wide, both end points included, one in each
// column or row along its longer extent: the pixels the desktop window fills.
function fillLine(context, line) {
  const [x1, y1, x2, y2] = [line.x1, line.y1, line.x2, line.y2].map(pixels);
  context.fillStyle = line.colour;
  if (x1 === x2 || y1 === y2) {
    context.fillRect(Math.min(x1, x2), Math.min(y1, y2), Math.abs(x2 - x1) + 1, Math.abs(y2 - y1) + 1);
    return;
  }
  const steps = Math.max(Math.abs(x2 - x1), Math.abs(y2 - y1));
  for (let step = 0; step <= steps; ++step) {
    const along = step / steps;
    context.fillRect(x1 + lround((x2 - x1) * along), y1 + lround((y2 - y1) * along), 1, 1);
  }
}

// The drum sketch on a canvas under the sketch's controls: its lines, then
// its circles, each through the centres of its box's edge pixels.
function drawSketch(picture, box) {
  const border = 2;
  const width = pixels(box.width) - 2 * border;
  const height = pixels(box.height) - 2 * border;
  const scale = window.devicePixelRatio || 1;
  const canvas = document.createElement('canvas');
  canvas.width = Math.round(width * scale);
  canvas.height = Math.round(height * scale);
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  const context = canvas.getContext('2d');
  context.scale(scale, scale);
  for (const line of tables.sketchLines)
    fillLine(context, line);
  context.lineWidth = 1;
  for (const circle of tables.sketchCircles) {
    const left = pixels(circle.box.left);
    const top = pixels(circle.box.top);
    const diameter = pixels(circle.box.width) - 1;
    context.strokeStyle = circle.colour;
    context.beginPath();
    context.arc(left + 0.5 + diameter / 2, top + 0.5 + diameter / 2, diameter / 2, 0, 2 * Math.PI);
    context.stroke();
  }
  picture.append(canvas);
}

// One function for each kind of control: the element that stands for it.
const controlMakers = {
  GroupBox(row) {
    const group = document.createElement('div');
    group.className = 'group';
    group.setAttribute('role', 'group');
    const caption = document.createElement('span');
    caption.className = 'caption';
    caption.id = `${row.name}-caption`;
    caption.textContent = row.text;
    caption.style.color = row.ink;
    caption.style.background = tables.colours.formBackground;
    group.setAttribute('aria-labelledby', caption.id);
    // The frame runs through the middle of the caption's line.
    const frame = document.createElement('div');
    frame.className = 'frame';
    caption.style.lineHeight = `${lineSpacing(row.font)}px`;
    frame.style.top = `${Math.floor(lineSpacing(row.font) / 2)}px`;
    group.append(frame, caption);
    return group;
  },
  Label(row) {
    const label = document.createElement('div');
    label.className = row.centred ? 'label centred' : 'label';
    label.textContent = row.text;
    label.style.color = row.ink;
    // What the ink means: more contrast darkens the results' and the verdict's.
    label.dataset.ink = row.inkName;
    label.style.background = tables.colours.formBackground;
    return label;
  },
  TextField() {
    const field = document.createElement('input');
    field.type = 'text';
    field.className = 'field';
    field.spellcheck = false;
    field.autocomplete = 'off';
    return field;
  },
  OptionButton(row) {
    const option = document.createElement('label');
    option.className = 'option';
    const input = document.createElement('input');
    input.type = 'radio';
    // One group for each container, as on the desktop.
    input.name = row.container;
    const text = document.createElement('span');
    text.textContent = row.text;
    option.append(input, text);
    option.style.color = row.ink;
    return option;
  },
  DropDownList() {
    const list = document.createElement('select');
    list.className = 'list';
    return list;
  },
  Button(row) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'button';
    const text = document.createElement('span');
    text.textContent = row.text;
    button.append(text);
    button.style.background = tables.colours.buttonFace;
    return button;
  },
  PictureArea(row) {
    const picture = document.createElement('div');
    picture.className = 'picture';
    picture.style.background = tables.colours.formBackground;
    // A Tab stop of the window's own order, not of the browser's.
    picture.tabIndex = -1;
    drawSketch(picture, row.box);
    return picture;
  },
};

function buildWindow() {
  form.style.setProperty('--window', tables.colours.formBackground);
  form.style.background = tables.colours.formBackground;
  form.style.fontFamily = `"${tables.fontFamily}", sans-serif`;
  place(form, tables.clientArea);
  document.title = tables.caption.trim();

  const byName = new Map([[tables.formName, form]]);
  for (const row of tables.controls) {
    const element = controlMakers[row.kind](row);
    element.id = row.name;
    element.dataset.kind = row.kind;
    place(element, row.box);
    setFont(element, row.font);
    byName.get(row.container).append(element);
    byName.set(row.name, element);
  }
  for (const row of tables.lists) {
    const list = byName.get(row.list);
    for (const item of row.items)
      list.add(new Option(item));
    list.selectedIndex = -1;
  }
  form.classList.add('built');
  return byName;
}

const controls = buildWindow();

// On a touch screen narrower than the window (a phone), the window is drawn
// smaller, as wide as the screen, its layout as it is; the command bar and
// the panels under it keep their size, and two fingers zoom the page as any.
// A browser zoomed in with a mouse's keys keeps the window as large as asked.
const touchScreen = matchMedia('(hover: none) and (pointer: coarse)');
function fitWindow() {
  const scale = touchScreen.matches ? Math.min(1, document.documentElement.clientWidth / form.offsetWidth) : 1;
  form.style.transform = scale < 1 ? `scale(${scale})` : '';
  // The room the window leaves under it, not held empty.
  form.style.marginBottom = scale < 1 ? `${(scale - 1) * form.offsetHeight}px` : '';
}
fitWindow();
window.addEventListener('resize', fitWindow);
touchScreen.addEventListener('change', fitWindow);

// A click on a field's or a list's caption puts the focus in that control.
for (const { label, control } of tables.captions)
  if (tables.tabOrder.includes(control))
    controls.get(label).addEventListener('click', () => focusTarget(control).focus());

// The element that takes the focus for a control: an option button's input.
function focusTarget(name) {
  const control = controls.get(name);
  return control.dataset.kind === 'OptionButton' ? control.querySelector('input') : control;
}

// The Tab stops in the desktop's order, then the command bar's buttons. An
// option group is one stop, as on the desktop: Tab enters it at its chosen
// option, or at its first when none is chosen, and leaves it with the next
// stop; the arrow keys move within it.
const tabStops = [];
for (const name of tables.tabOrder) {
  const target = focusTarget(name);
  const group = target.type === 'radio' ? target.name : null;
  const last = tabStops[tabStops.length - 1];
  if (group && last && last.group === group)
    last.targets.push(target);
  else
    tabStops.push({group, targets: [target]});
}

function stopTarget(stop) {
  return stop.targets.find(target => target.checked) ?? stop.targets[0];
}

// Where the page starts for the browser's own Tab: Shift+Tab from the first
// stop leaves the page from here, before every control of the window,
// whatever their order in the page.
const pageStart = document.createElement('div');
pageStart.id = 'pageStart';
pageStart.className = 'announcer';
pageStart.tabIndex = -1;
form.before(pageStart);

// Tab moves in the window's order; past the last stop, or before the first,
// the browser takes the focus on out of the page (to the check's dialog
// first, when it is open), as from any page's last control.
function tabKey(event) {
  if (event.key !== 'Tab' || event.altKey || event.ctrlKey || event.metaKey)
    return;
  const current = tabStops.findIndex(stop => stop.targets.includes(document.activeElement));
  const next = current + (event.shiftKey ? -1 : 1);
  if (next < 0) {
    pageStart.focus();
    return;
  }
  if (next >= tabStops.length)
    return;
  event.preventDefault();
  stopTarget(tabStops[next]).focus();
}
form.addEventListener('keydown', tabKey);

// The core's controls over this page: a text field's Text, an option
// button's Value (-1 on, 0 off), a list's ListIndex (-1 for none) and a
// label's Caption. The calculations see the page only through these.
const pageControls = {
  text: name => controls.get(name).value,
  value: name => (focusTarget(name).checked ? -1 : 0),
  listIndex: name => controls.get(name).selectedIndex,
  setCaption: (name, caption) => {
    controls.get(name).textContent = caption;
  },
};

// The message box: modal to the window, the window's caption as its title,
// the core's message, one button. An error's mark, or a notice's.
function showMessage(message, kind = 'error') {
  return new Promise(resolve => {
    const dialog = document.createElement('dialog');
    dialog.className = 'message';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.setAttribute('aria-labelledby', 'message-title');
    dialog.setAttribute('aria-describedby', 'message-text');
    const title = document.createElement('div');
    title.className = 'title';
    title.id = 'message-title';
    title.textContent = tables.caption;
    const body = document.createElement('div');
    body.className = 'body';
    const icon = document.createElement('div');
    icon.className = `icon ${kind}`;
    icon.setAttribute('aria-hidden', 'true');
    icon.textContent = kind === 'error' ? '×' : '!';
    const text = document.createElement('div');
    text.className = 'text';
    text.id = 'message-text';
    text.textContent = message;
    body.append(icon, text);
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.textContent = 'OK';
    ok.addEventListener('click', () => dialog.close());
    buttons.append(ok);
    dialog.append(title, body, buttons);
    const returnFocus = document.activeElement;
    dialog.addEventListener('close', () => {
      dialog.remove();
      returnFocus?.focus();
      resolve();
    });
    document.body.append(dialog);
    dialog.showModal();
    // Over the middle of the window, as the desktop's message box stands,
    // not of a large browser window.
    const window_ = form.getBoundingClientRect();
    const box = dialog.getBoundingClientRect();
    dialog.style.margin = '0';
    dialog.style.right = dialog.style.bottom = 'auto';
    dialog.style.left = `${Math.max(0, window_.left + (window_.width - box.width) / 2)}px`;
    dialog.style.top = `${Math.max(0, window_.top + (window_.height - box.height) / 2)}px`;
    ok.focus();
  });
}

// A held Enter presses a button once, as on the desktop: its key repeats
// would press the window's button again and again, or close the message box
// the first press opened.
document.addEventListener('keydown', event => {
  if (event.key === 'Enter' && event.repeat && event.target instanceof HTMLButtonElement)
    event.preventDefault();
}, true);

// The core loads after the window is built, so that the window shows first.
const core = import('./kalventa_core.js').then(module => module.default());
const coreMissing = 'Не удалось загрузить модуль расчёта (kalventa_core.wasm): расчёты недоступны.\n'
  + 'Обновите страницу; если это не поможет, проверьте, что все файлы сайта на месте.';

// The core, or null after its message has been shown.
async function coreOrMessage() {
  try {
    return await core;
  } catch {
    await showMessage(coreMissing);
    return null;
  }
}

// Once loaded, the site works offline and can be installed: its service
// worker keeps this version's files (not for a page opened from a file).
if ('serviceWorker' in navigator && location.protocol !== 'file:')
  navigator.serviceWorker.register('sw.js').catch(() => {});

// What a screen reader hears after a run: one short summary, from a live
// region outside the window, which it announces without moving the focus.
const announcer = document.createElement('div');
announcer.id = 'announcer';
announcer.className = 'announcer';
announcer.setAttribute('role', 'status');
announcer.setAttribute('aria-live', 'polite');
document.body.append(announcer);

// A description a screen reader reads after the name, and the same as the
// tooltip where it explains a result or a misread input.
function describe(element, text, withTooltip) {
  if (text) {
    element.setAttribute('aria-description', text);
    if (withTooltip)
      element.title = text;
  } else {
    element.removeAttribute('aria-description');
    if (withTooltip)
      element.removeAttribute('title');
  }
}

// The words the core gives the window: names of the inputs and results, the
// buttons' and the sketch's descriptions, the formulas on the results.
function nameForScreenReaders(words) {
  for (const [name, spoken] of [...words.inputs, ...words.results])
    controls.get(name).setAttribute('aria-label', spoken);
  // A result is an output, named with its value; the run's summary is what
  // is announced, not each label as it changes.
  for (const [name] of words.results) {
    controls.get(name).setAttribute('role', 'status');
    controls.get(name).setAttribute('aria-live', 'off');
    // Selected with the mouse and copied, as any text of a page.
    controls.get(name).classList.add('result');
  }
  for (const [name, description] of words.buttons)
    describe(controls.get(name), description, false);
  for (const [name, formula] of words.formulas)
    showFormula(name, formula);
  formulasView.groups = words.calculations;
  fillFormulas();
  // The sketch holds fields and results: a group of them, named as the
  // sketch, whose drawing is the picture.
  const sketch = controls.get(words.sketchControl);
  sketch.setAttribute('role', 'group');
  sketch.setAttribute('aria-label', words.sketch[0]);
  const drawing = sketch.querySelector('canvas');
  drawing.setAttribute('role', 'img');
  drawing.setAttribute('aria-label', words.sketch[0]);
  describe(drawing, words.sketch[1], false);
}

// A misread field's notice in a balloon under the field, as the desktop
// shows it, kept until the field's text changes or a run reads it whole; a
// click or a touch on the balloon puts it away. The field's description
// says the same to a screen reader.
function showNotice(field, text) {
  const id = `notice-${field.id}`;
  document.getElementById(id)?.remove();
  if (!text)
    return;
  const balloon = document.createElement('div');
  balloon.id = id;
  balloon.className = 'balloon';
  balloon.setAttribute('role', 'note');
  balloon.textContent = text;
  const box = field.getBoundingClientRect();
  // At the field's left, or further left as far as the page's width asks (a
  // phone's), its arrow still under the field.
  balloon.style.left = '0';
  document.body.append(balloon);
  const room = document.documentElement.clientWidth - 4;
  const left = Math.max(4, Math.min(box.left, room - balloon.getBoundingClientRect().width));
  balloon.style.left = `${left + window.scrollX}px`;
  balloon.style.setProperty('--arrow', `${box.left - left + 8}px`);
  balloon.style.top = `${box.bottom + window.scrollY + 6}px`;
  balloon.addEventListener('click', () => balloon.remove());
}

// A field's notice goes when its text changes; a run whose input changes
// afterwards is marked so in the report.
for (const row of tables.controls) {
  if (row.kind === 'TextField')
    controls.get(row.name).addEventListener('input', event => {
      describe(event.target, '', true);
      showNotice(event.target, '');
    });
  if (row.kind === 'TextField')
    controls.get(row.name).addEventListener('input', async () => {
      (await core).textChanged(row.name, pageControls.text(row.name));
    });
  if (row.kind === 'DropDownList')
    controls.get(row.name).addEventListener('change', async () => {
      (await core).valueChanged(row.name, pageControls.listIndex(row.name));
    });
  // An option turned on turns the others of its group off, which say nothing.
  if (row.kind === 'OptionButton')
    controls.get(row.name).addEventListener('change', async () => {
      const kalventa = await core;
      for (const option of tables.controls.filter(other => other.kind === 'OptionButton'))
        kalventa.valueChanged(option.name, pageControls.value(option.name));
    });
}

// The calculation report, for the browser's printing («Печать…», Ctrl+P):
// made from the core's report of the runs so far just before the page
// prints, shown only on paper, where the window is not.
const report = document.createElement('section');
report.id = 'report';
report.className = 'report';
// Warnings in the window's dark red, that of its group boxes' captions.
report.style.setProperty('--warning', tables.controls.find(row => row.kind === 'GroupBox').ink);
document.body.append(report);

function element(tag, text, className) {
  const made = document.createElement(tag);
  if (text !== undefined)
    made.textContent = text;
  if (className)
    made.className = className;
  return made;
}

// The row of a panel's one button, «Закрыть».
function closeRow(id, onClose) {
  const close = element('button', 'Закрыть');
  close.type = 'button';
  close.id = id;
  close.addEventListener('click', () => onClose());
  const buttons = element('div', undefined, 'buttons');
  buttons.append(close);
  return buttons;
}

const twoDigits = number => String(number).padStart(2, '0');

// Text in runs of the note's typography: an index set lowered and smaller.
function setText(parent, runs) {
  for (const [text, lowered] of runs)
    parent.append(lowered ? element('sub', text) : text);
  return parent;
}

function blockOf(tag, block, className) {
  const made = element(tag, undefined, className);
  made.append(block.lead);
  setText(made, block.runs);
  made.append(block.after);
  return made;
}

// A ruled table under its caption, the caption kept with it, the headings
// repeated on every sheet the table runs on. An input and the notice under
// it make one group, which a sheet's end does not part.
function ruledTable(note) {
  const caption = element('p', note.caption, 'caption');
  const made = element('table', undefined, 'ruled');
  const columns = element('colgroup');
  for (const column of note.columns) {
    const col = element('col');
    col.style.width = `${column.percent}%`;
    columns.append(col);
  }
  const headings = element('tr');
  for (const column of note.columns)
    headings.append(element('th', column.heading));
  made.append(columns, element('thead'));
  made.tHead.append(headings);
  let group = null;
  for (const [i, row] of note.rows.entries()) {
    if (i === 0 || row.kind === 'group' || row.item !== note.rows[i - 1].item || !note.continuation)
      group = made.appendChild(element('tbody'));
    const line = group.insertRow();
    if (row.kind !== 'values') {
      const cell = setText(line.insertCell(), row.cells[0]);
      cell.colSpan = note.columns.length;
      cell.className = row.kind;
      continue;
    }
    row.cells.forEach((runs, column) => {
      setText(line.insertCell(), runs).className = note.columns[column].left ? 'left' : 'centre';
    });
  }
  return [caption, made];
}

// A formula indented, its number in parentheses at the right, level with
// the formula's last line.
function formula(block) {
  const line = element('div', undefined, 'formula');
  line.append(setText(element('span', undefined, 'text'), block.runs), element('span', `(${block.number})`, 'number'));
  return line;
}

// «где», then one symbol a line beside it.
function whereList(block) {
  const made = element('table', undefined, 'where');
  block.lines.forEach((runs, i) => {
    const row = made.insertRow();
    row.insertCell().textContent = i === 0 ? block.whereLead : '';
    setText(row.insertCell(), runs);
  });
  return made;
}

const svgNamespace = 'http://www.w3.org/2000/svg';

function svg(tag, attributes) {
  const made = document.createElementNS(svgNamespace, tag);
  for (const [name, value] of Object.entries(attributes))
    made.setAttribute(name, value);
  return made;
}

// How far Liberation Sans stands above its baseline and reaches below it, in ems.
const ascent = 0.905;
const descent = 0.212;

let measuring = null;
function textWidth(text, font) {
  measuring ??= document.createElement('canvas').getContext('2d');
  measuring.font = font;
  return measuring.measureText(text).width;
}

// «где» and the symbols on one line, as the check against today's rules writes them.
function whereLine(block) {
  const runs = block.lines.flatMap((line, i) => (i > 0 ? [[' ', false], ...line] : line));
  return blockOf('p', { lead: `${block.whereLead} `, runs, after: '' }, 'where');
}

// The drum sketch on paper, as vectors: the window's drawing of the sketch
// in its pixels, its legends, its fields as framed boxes and the run's values
// whole, each at its control's place in that control's font and ink.
function paperSketch(texts) {
  const area = tables.controls.find(row => row.kind === 'PictureArea');
  const border = 2;
  const width = pixels(area.box.width) - 2 * border;
  const height = pixels(area.box.height) - 2 * border;
  const drawing = svg('svg', { viewBox: `0 0 ${width} ${height}`, class: 'sketch', overflow: 'visible' });
  for (const line of tables.sketchLines) {
    const [x1, y1, x2, y2] = [line.x1, line.y1, line.x2, line.y2].map(pixels);
    drawing.append(svg('line', { x1: x1 + 0.5, y1: y1 + 0.5, x2: x2 + 0.5, y2: y2 + 0.5, stroke: line.colour,
      'stroke-width': 1, 'stroke-linecap': 'square' }));
  }
  for (const circle of tables.sketchCircles) {
    const radius = (pixels(circle.box.width) - 1) / 2;
    drawing.append(svg('circle', { cx: pixels(circle.box.left) + 0.5 + radius,
      cy: pixels(circle.box.top) + 0.5 + radius, r: radius, fill: 'none', stroke: circle.colour, 'stroke-width': 1 }));
  }
  for (const { control, text } of texts) {
    const row = tables.controls.find(one => one.name === control);
    const shown = text.trim();
    if (!shown)
      continue;
    const font = tables.fonts[row.font];
    const size = fontPixels(row.font);
    const [left, top, boxWidth, boxHeight] = [row.box.left, row.box.top, row.box.width, row.box.height].map(pixels);
    const words = svg('text', { 'font-family': `"${tables.fontFamily}", sans-serif`, 'font-size': size,
      'font-weight': font.bold ? 700 : 400, fill: row.ink });
    words.textContent = shown;
    if (row.kind === 'TextField') {
      // A field: a thin frame on white, as wide as its value needs.
      const needed = textWidth(shown, `${font.bold ? 700 : 400} ${size}px "${tables.fontFamily}"`) + 3;
      const frame = Math.max(boxWidth, needed);
      const x = row.centred ? left + boxWidth / 2 - frame / 2 : left;
      drawing.append(svg('rect', { x, y: top, width: frame, height: boxHeight, fill: 'white', stroke: '#808080',
        'stroke-width': 0.5 }));
      words.setAttribute('x', x + 2);
      words.setAttribute('y', top + boxHeight / 2 + ((ascent - descent) / 2) * size);
      words.setAttribute('fill', tables.colours.standardText);
    } else {
      words.setAttribute('x', row.centred ? left + boxWidth / 2 : left);
      words.setAttribute('y', top + ascent * size);
      if (row.centred)
        words.setAttribute('text-anchor', 'middle');
    }
    drawing.append(words);
  }
  return drawing;
}

// The sketch centred, its caption under it, the two on one sheet.
function figure(block) {
  const made = element('figure', undefined, 'figure');
  made.append(paperSketch(block.sketch), blockOf('figcaption', block));
  return made;
}

// The note written from the core's outline, block by block as the desktop
// writes it, the check against today's rules at its end once it was opened.
function fillNote(outline) {
  report.replaceChildren();
  report.classList.toggle('framed', outline.frame);
  const makers = {
    organisation: block => blockOf('p', block, 'organisation'),
    object: block => blockOf('p', block, 'object'),
    title: block => blockOf('h1', block),
    designation: block => blockOf('p', block, 'designation'),
    program: block => blockOf('p', block, 'program'),
    made: block => blockOf('p', block, 'made'),
    nothingYet: block => blockOf('p', block, 'nothing'),
    heading: block => blockOf('h2', block),
    paragraph: block => blockOf('p', block, 'method'),
    ranAt: block => blockOf('p', block, 'ran'),
    warning: block => blockOf('p', block, 'stale'),
    table: block => ruledTable(block.table),
    note: block => blockOf('p', block, 'note'),
    formula,
    where: block => (section === report ? whereList(block) : whereLine(block)),
    stopped: block => blockOf('p', block, 'stopped'),
    figure,
    verdict: block => blockOf('p', block, 'verdict'),
    savedNote: block => blockOf('p', block, 'stopped'),
    // Kept with the conclusions and the drum's check after it: a line each or two.
    conclusions: (block, i) => {
      const lead = blockOf('p', block, 'conclusions');
      let lines = 0;
      for (const next of outline.blocks.slice(i + 1)) {
        if (next.kind !== 'conclusion' && next.kind !== 'drumCheck')
          break;
        lines += next.kind === 'conclusion' ? 1 : 2;
      }
      lead.style.setProperty('--lines', lines);
      return lead;
    },
    conclusion: block => blockOf('p', block, 'conclusion'),
    drumCheck: block => blockOf('p', block, block.indented ? 'drum indented' : 'drum'),
    // The check against today's rules: a section of its own on a new sheet,
    // its «где» on one line.
    rulesCheck: block => {
      section = report.appendChild(element('section', undefined, 'rules-note'));
      return blockOf('h2', block);
    },
    advisory: block => blockOf('p', block, 'advisory'),
    finding: block => blockOf('p', block, 'finding'),
    grounds: block => blockOf('p', block, 'grounds'),
    citation: block => blockOf('p', block, 'citation'),
    numbers: block => blockOf('p', block, 'numbers'),
  };
  let section = report;
  outline.blocks.forEach((block, i) => {
    const made = [makers[block.kind](block, i)].flat();
    // The first of a run's formulas and the first note under a table keep
    // some room above.
    if (block.kind !== outline.blocks[i - 1]?.kind)
      made[0].classList.add('first');
    section.append(...made);
  });
}

// ---- A framed note's sheets --------------------------------------------------
// Each sheet in its frame with the main inscription, as the core lays them
// out (form 2 on the first sheet, form 2a on the others): an image over the
// whole sheet, set in a box of the sheet's margin, which the browser paints
// whole. The sheet's number and the number of sheets, which only the printing
// knows, are the counters of boxes of the margin laid over their cells.

const sheetStyle = document.head.appendChild(document.createElement('style'));

const pointsToMm = 25.4 / 72;
const minimumPoints = 5;

function base64(bytes) {
  let binary = '';
  for (let at = 0; at < bytes.length; at += 0x8000)
    binary += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  return btoa(binary);
}

// The page's embedded faces inside each image: an image reads no font of the
// page. Faces that cannot be had leave the image to the system's sans-serif
// this time, and are asked for again the next.
let embeddedFaces = null;
function faces() {
  embeddedFaces ??= Promise.all([[400, 'LiberationSans-Regular.woff2'], [700, 'LiberationSans-Bold.woff2']]
    .map(async ([weight, file]) => {
      const response = await fetch(file);
      if (!response.ok)
        throw new Error(`${file}: ${response.status}`);
      const bytes = new Uint8Array(await response.arrayBuffer());
      return `@font-face { font-family: "${tables.fontFamily}"; font-weight: ${weight}; `
        + `src: url(data:font/woff2;base64,${base64(bytes)}) format("woff2"); }`;
    })).then(rules => rules.join('\n'), () => {
    embeddedFaces = null;
    return '';
  });
  return embeddedFaces;
}

const fontOf = (points, bold) => `${bold ? 700 : 400} ${points}pt "${tables.fontFamily}"`;
const mmWidth = (text, points, bold) => (textWidth(text, fontOf(points, bold)) * 25.4) / 96;

// A wrapped text's lines within `width` millimetres, broken between words.
function wrapped(text, points, bold, width) {
  const lines = [];
  for (const paragraph of text.split('\n')) {
    let line = '';
    for (const word of paragraph.split(' ')) {
      const longer = line ? `${line} ${word}` : word;
      if (line && mmWidth(longer, points, bold) > width) {
        lines.push(line);
        line = word;
      } else {
        line = longer;
      }
    }
    lines.push(line);
  }
  return lines;
}

// A box's text in the size asked for, or smaller until it fits: down to
// minimumPoints, then cut short with an ellipsis (one line).
function inscriptionText(cell) {
  const inset = cell.centred ? 0.5 : 1;
  const width = cell.width - 2 * inset;
  let points = cell.points;
  let lines;
  for (;; points -= 0.5) {
    lines = cell.wrapped ? wrapped(cell.text, points, cell.bold, width) : [cell.text];
    const widest = Math.max(...lines.map(line => mmWidth(line, points, cell.bold)));
    if ((widest <= width && lines.length * points * 1.15 * pointsToMm <= cell.height) || points <= minimumPoints)
      break;
  }
  if (!cell.wrapped)
    while (lines[0].length > 1 && mmWidth(lines[0], points, cell.bold) > width)
      lines[0] = `${lines[0].slice(0, -2)}…`;
  const size = points * pointsToMm;
  const lineHeight = size * 1.15;
  const firstBaseline = cell.y + cell.height / 2 - (lines.length * lineHeight) / 2 + (lineHeight - size) / 2
    + ascent * size;
  const x = cell.centred ? cell.x + cell.width / 2 : cell.x + inset;
  return lines.map((line, i) => {
    const words = svg('text', { x, y: firstBaseline + i * lineHeight, 'font-size': size,
      'font-weight': cell.bold ? 700 : 400, 'text-anchor': cell.centred ? 'middle' : 'start' });
    words.textContent = line;
    return words;
  });
}

// The sheet's frame, its inscription's lines and its boxes' texts, in
// millimetres over the whole sheet.
function sheetImage(sheet, embedded) {
  const image = svg('svg', { xmlns: svgNamespace, width: `${sheet.width}mm`, height: `${sheet.height}mm`,
    viewBox: `0 0 ${sheet.width} ${sheet.height}`, 'font-family': `"${tables.fontFamily}", sans-serif` });
  image.append(svg('style', {}));
  image.firstChild.textContent = embedded;
  for (const rule of sheet.rules)
    image.append(svg('line', { x1: rule.x1, y1: rule.y1, x2: rule.x2, y2: rule.y2, stroke: 'black',
      'stroke-width': rule.width, 'stroke-linecap': 'square' }));
  for (const cell of sheet.cells)
    if (!cell.counted)
      image.append(...inscriptionText(cell));
  // As XML, which the image is read as: HTML's serialisation would write a
  // no-break space in the title data as &nbsp;, which XML does not know.
  const xml = new XMLSerializer().serializeToString(image);
  return `url("data:image/svg+xml;base64,${base64(new TextEncoder().encode(xml))}")`;
}

// The box of the sheet's margin under the text's bottom right corner, moved
// over `cell`, that shows `counter` there.
function counterBox(sheet, cell, counter) {
  const { text } = sheet;
  return `@bottom-right { content: counter(${counter}); font: ${fontOf(cell.points, cell.bold)};
    width: ${cell.width}mm; height: ${cell.height}mm;
    margin-top: ${cell.y - text.y - text.height}mm;
    margin-right: ${text.x + text.width - cell.x - cell.width}mm;
    text-align: center; vertical-align: middle; }`;
}

// The images of the sheets shown once, out of sight, before the printing: an
// image reads its own fonts only once shown, and the margin's boxes take the
// image so read.
const sheetImages = document.body.appendChild(element('div', undefined, 'sheet-images'));

async function shown(url) {
  const image = sheetImages.appendChild(element('img'));
  image.alt = '';
  image.src = url.slice('url("'.length, -'")'.length);
  await image.decode();
}

// The framed sheets' page rules, or none when the note has no frame.
// Made again only when they change: the browser's own printing (its menu)
// cannot wait for the images, but finds them made when the file was opened.
let framing = { key: null, done: Promise.resolve() };
function frameSheets(outline, kalventa) {
  const sheets = outline.frame ? [kalventa.framedSheet(outline.title, 1, 1), kalventa.framedSheet(outline.title, 2, 2)]
    : null;
  const key = JSON.stringify(sheets);
  if (key !== framing.key) {
    // Sheets that could not be made are tried again the next time.
    const done = drawSheets(sheets, key).catch(error => {
      if (framing.key === key)
        framing = { key: null, done: Promise.resolve() };
      throw error;
    });
    framing = { key, done };
  }
  return framing.done;
}

// The rules of `sheets`, unless other sheets were asked for meanwhile.
async function drawSheets(sheets, key) {
  sheetStyle.textContent = '';
  sheetImages.replaceChildren();
  if (!sheets)
    return;
  const [first, later] = sheets;
  const embedded = await faces();
  const images = [sheetImage(first, embedded), sheetImage(later, embedded)];
  await Promise.all(images.map(shown));
  if (framing.key !== key)
    return;
  const { text } = first;
  const counted = (sheet, counter) => counterBox(sheet, sheet.cells.find(one => one.counted), counter);
  sheetStyle.textContent = `
@page framed {
  margin: ${text.y}mm ${first.width - text.x - text.width}mm ${first.height - text.y - text.height}mm ${text.x}mm;
  @top-left-corner { content: ${images[1]}; vertical-align: top; text-align: left; }
  ${counted(later, 'page')}
}
@page framed:first {
  @top-left-corner { content: ${images[0]}; vertical-align: top; text-align: left; }
  ${counted(first, 'pages')}
}`;
}

// Now as the report writes it, day first: "08.12.2026 14:03".
function now() {
  const time = new Date();
  return `${twoDigits(time.getDate())}.${twoDigits(time.getMonth() + 1)}.${time.getFullYear()} `
    + `${twoDigits(time.getHours())}:${twoDigits(time.getMinutes())}`;
}

async function makeReport() {
  const kalventa = await core;
  const rules = rulesCheck.opened ? checkControls : null;
  const outline = kalventa.noteOutline(now(), checkControls, rules, today());
  fillNote(outline);
  await frameSheets(outline, kalventa);
}

// A framed file's sheets made as soon as it is opened.
form.addEventListener('calculationopened', async event => {
  if (!event.detail.opened)
    return;
  const kalventa = await core;
  // Made ahead only: printing makes them again and says what stopped it.
  await frameSheets(kalventa.noteOutline(now(), checkControls, null, today()), kalventa).catch(() => {});
});

// The page's own printing has made the report already; the browser's
// (its menu) makes it here.
let reportMade = false;
window.addEventListener('beforeprint', () => {
  if (!reportMade)
    makeReport();
});

async function printReport() {
  try {
    await makeReport();
  } catch (error) {
    const coreLoaded = await core.then(() => true, () => false);
    await showMessage(coreLoaded ? `Не удалось подготовить расчётную записку к печати (${error.message}).` : coreMissing);
    return;
  }
  reportMade = true;
  try {
    window.print();
  } finally {
    reportMade = false;
  }
}

// «Копировать результаты»: the last runs' inputs and results on the
// clipboard, as text for a spreadsheet and as a table for a word processor.
let copying = null;
document.addEventListener('copy', event => {
  if (!copying)
    return;
  event.clipboardData.setData('text/plain', copying.text);
  event.clipboardData.setData('text/html', copying.html);
  event.preventDefault();
});
async function copyResults() {
  const kalventa = await core;
  copying = rulesCheck.opened ? kalventa.copiedResultsWithRulesCheck(checkControls, today())
    : kalventa.copiedResults();
  // A copy the browser refuses must not leave the results for the next Ctrl+C.
  try {
    document.execCommand('copy');
  } finally {
    copying = null;
  }
}

// One button press: the calculation runs to its end or to a run-time error,
// the labels it wrote keep their texts, and an error is shown in its message
// box. Then the fields read say how their texts were read, the results take
// their new names and formulas, the summary is announced, and the window
// sends "calculationrun" with what happened.
async function press(button) {
  const kalventa = await coreOrMessage();
  if (!kalventa)
    return;
  const written = [];
  const outcome = kalventa.runRecorded(button, {
    ...pageControls,
    setCaption: (name, caption) => {
      pageControls.setCaption(name, caption);
      written.push([name, caption]);
    },
  }, now());
  // The results a stopped run did not reach show nothing rather than an
  // earlier run's numbers.
  for (const name of outcome.emptied)
    pageControls.setCaption(name, '');
  for (const [name, notice] of outcome.notices) {
    describe(controls.get(name), notice, true);
    showNotice(controls.get(name), notice);
  }
  for (const [name, spoken] of outcome.spoken)
    controls.get(name).setAttribute('aria-label', spoken);
  for (const [name, formula] of outcome.formulas)
    showFormula(name, formula);
  fillFormulas();
  // Emptied first, so that the same summary twice is announced twice.
  announcer.textContent = '';
  requestAnimationFrame(() => {
    announcer.textContent = outcome.summary;
  });
  const message = outcome.message ?? null;
  form.dispatchEvent(new CustomEvent('calculationrun', {detail: {button, written, message, summary: outcome.summary}}));
  if (message !== null)
    await showMessage(message);
}

// The check against today's rules, beside the window and not modal, opened
// with F9: built from the core's words for it, the same controls as the
// desktop's dialog, worked out by the core on the window's fields and runs
// and on its own controls, again whenever any of them changes.
const rulesCheck = { dialog: null, opened: false, announcing: 0 };

function today() {
  const now = new Date();
  return { year: now.getFullYear(), month: now.getMonth() + 1, day: now.getDate() };
}

// The window's controls and the check's, by name, for the core.
const rulesElement = name => rulesCheck.dialog?.querySelector(`#${name}`);
const checkControls = {
  text: name => (controls.get(name) ?? rulesElement(name)).value,
  value: name => ((controls.has(name) ? focusTarget(name) : rulesElement(name)).checked ? -1 : 0),
  listIndex: name => (controls.get(name) ?? rulesElement(name)).selectedIndex,
  setCaption: () => {},
};

function buildRulesCheck(words) {
  const dialog = element('dialog', undefined, 'rules');
  dialog.id = 'RulesCheck';
  dialog.setAttribute('aria-labelledby', 'rules-title');
  dialog.setAttribute('aria-describedby', 'rules-advisory');
  const title = element('div', words.title, 'title');
  title.id = 'rules-title';
  const advisory = element('p', words.advisory, 'advisory');
  advisory.id = 'rules-advisory';
  const form = element('div', undefined, 'inputs');
  for (const control of words.controls) {
    const caption = element('label', control.caption);
    let made;
    if (control.kind === 'list') {
      made = element('select');
      for (const group of words.groups)
        made.add(new Option(group));
      made.selectedIndex = -1;
      made.setAttribute('aria-label', control.spoken);
      made.title = control.placeholder;
    } else if (control.kind === 'field') {
      made = element('input');
      made.type = 'text';
      made.placeholder = control.placeholder;
      made.spellcheck = false;
      made.autocomplete = 'off';
      made.setAttribute('aria-label', control.spoken);
    } else {
      made = element('div', undefined, 'pair');
      made.setAttribute('role', 'radiogroup');
      made.setAttribute('aria-label', control.spoken);
      control.names.forEach((name, index) => {
        const option = element('label');
        const input = element('input');
        input.type = 'radio';
        input.name = control.names[0];
        input.id = name;
        input.checked = index === 0;
        input.setAttribute('aria-label', `${control.spoken}: ${control.options[index]}`);
        option.append(input, control.options[index]);
        made.append(option);
      });
    }
    if (control.kind !== 'options') {
      made.id = control.names[0];
      caption.htmlFor = made.id;
    } else {
      caption.id = `${control.names[0]}-caption`;
    }
    form.append(caption, made);
  }
  const [resultsName, resultsSpoken] = words.results;
  const results = element('textarea');
  results.id = resultsName;
  results.readOnly = true;
  results.rows = 16;
  results.setAttribute('aria-label', resultsSpoken);
  dialog.append(title, advisory, form, results, closeRow('rulesClose', closeRulesCheck));
  dialog.addEventListener('input', () => refreshRulesCheck());
  dialog.addEventListener('change', () => refreshRulesCheck());
  dialog.addEventListener('keydown', event => {
    if (event.key === 'Escape') {
      event.preventDefault();
      closeRulesCheck();
    }
  });
  return dialog;
}

// The check worked out afresh; its summary is announced once typing pauses.
async function refreshRulesCheck() {
  if (!rulesCheck.dialog?.open)
    return;
  const outcome = (await core).rulesCheck(checkControls, today());
  rulesElement('rulesResults').value = outcome.lines.join('\n');
  rulesCheck.dialog.dataset.summary = outcome.summary;
  clearTimeout(rulesCheck.announcing);
  rulesCheck.announcing = setTimeout(() => {
    announcer.textContent = '';
    requestAnimationFrame(() => {
      announcer.textContent = outcome.summary;
    });
  }, 400);
  rulesCheck.dialog.dispatchEvent(new CustomEvent('rulescheck', { detail: outcome }));
}

async function openRulesCheck() {
  const kalventa = await core;
  rulesCheck.returnFocus = document.activeElement;
  rulesCheck.dialog ??= document.body.appendChild(buildRulesCheck(kalventa.rulesCheckWords()));
  rulesCheck.opened = true;
  if (!rulesCheck.dialog.open)
    rulesCheck.dialog.show();
  rulesElement('rulesGroup').focus();
  await refreshRulesCheck();
}

function closeRulesCheck() {
  rulesCheck.dialog.close();
  rulesCheck.returnFocus?.focus();
}

// The window's fields as they change and its runs as they end.
for (const row of tables.controls)
  if (row.kind === 'TextField')
    controls.get(row.name).addEventListener('input', () => refreshRulesCheck());
form.addEventListener('calculationrun', () => refreshRulesCheck());


// ---- Calculation files ----------------------------------------------------
// Ctrl+O (⌘O on a Mac) or a file dropped on the page opens a calculation
// file, Ctrl+S (⌘S) saves one: the desktop's .kalventa file, read and written
// by the core. Opening refuses what it cannot take before anything changes;
// otherwise the window starts anew, takes the file's fields and choices and
// presses again the buttons the file had pressed, so that results, formulas,
// notices and the report are those of this version's calculations.

// The calculation saved last, kept in the browser only once the user saved
// it, and opened again when the page is loaded next, unless another file has
// been opened since.
const savedKey = 'kalventa.savedCalculation';

// A window's controls as the core takes a file from them and gives one to
// them, each found by name: a field's text, an option button's caption and
// Value, a list's items and ListIndex, a label's caption.
function fileWindowOver(find) {
  return {
    text: name => {
      const found = find(name);
      return found.type === 'radio' ? found.parentElement.textContent : (found.value ?? found.textContent);
    },
    value: name => (find(name).checked ? -1 : 0),
    listIndex: name => find(name).selectedIndex,
    listItems: name => [...find(name).options].map(option => option.text),
    setText: (name, text) => {
      find(name).value = text;
    },
    choose: name => {
      find(name).checked = true;
    },
    setListIndex: (name, index) => {
      find(name).selectedIndex = index;
    },
  };
}
const windowFile = fileWindowOver(focusTarget);

// The window as it is before any run: fields empty, nothing chosen, labels
// with their own texts, no notices, the formulas in symbols; the check's
// dialog, new and open, only when the file holds the check.
function resetWindow(kalventa, withRulesCheck) {
  for (const row of tables.controls) {
    const control = controls.get(row.name);
    if (row.kind === 'TextField') {
      control.value = '';
      describe(control, '', true);
      showNotice(control, '');
    } else if (row.kind === 'OptionButton') {
      focusTarget(row.name).checked = false;
    } else if (row.kind === 'DropDownList') {
      control.selectedIndex = -1;
    } else if (row.kind === 'Label') {
      control.textContent = row.text;
    }
  }
  nameForScreenReaders(kalventa.windowWords());
  announcer.textContent = '';
  rulesCheck.dialog?.remove();
  rulesCheck.dialog = withRulesCheck ? document.body.appendChild(buildRulesCheck(kalventa.rulesCheckWords())) : null;
  rulesCheck.opened = withRulesCheck;
  rulesCheck.dialog?.show();
}

const messageOpen = () => document.querySelector('dialog.message[open]') !== null;
let opening = false;

// Opens the file `name` of `size` bytes, whose contents `read` gives. Says
// what came of it in the message box and in a "calculationopened" event;
// true when the file was opened.
async function openCalculation(name, size, read) {
  if (opening)
    return false;
  opening = true;
  try {
    const kalventa = await coreOrMessage();
    if (!kalventa)
      return false;
    const told = async (opened, message, kind) => {
      form.dispatchEvent(new CustomEvent('calculationopened', { detail: { name, opened, message } }));
      if (message !== null)
        await showMessage(message, kind);
      return opened;
    };
    // Larger than any calculation: refused unread.
    if (size > kalventa.calculationFileFacts().limit)
      return told(false, kalventa.fileTooLarge(name), 'error');
    let contents;
    try {
      contents = await read();
    } catch {
      return told(false, kalventa.fileUnreadable(name), 'error');
    }
    // The file's check is matched against the check's controls, those of a
    // dialog apart from the page while the page has none.
    const apart = rulesCheck.dialog ? null : buildRulesCheck(kalventa.rulesCheckWords());
    const checkFile = fileWindowOver(control => (rulesCheck.dialog ?? apart).querySelector(`#${control}`));
    const outcome = kalventa.openFile(name, contents, windowFile, checkFile,
      withRulesCheck => resetWindow(kalventa, withRulesCheck));
    if (outcome.error !== undefined)
      return told(false, outcome.error, 'error');
    // The calculation saved last is no longer the page's: not brought back at the next visit.
    localStorage.removeItem(savedKey);
    for (const button of outcome.rerun)
      await press(button);
    await refreshRulesCheck();
    return told(true, kalventa.openedFileMessage(windowFile) ?? null, 'notice');
  } finally {
    opening = false;
  }
}

const openFile = file => openCalculation(file.name, file.size, async () => new Uint8Array(await file.arrayBuffer()));

// The file chooser of «Открыть…», outside the window.
const fileChooser = document.createElement('input');
fileChooser.type = 'file';
fileChooser.id = 'openCalculation';
fileChooser.hidden = true;
fileChooser.addEventListener('change', () => {
  const [file] = fileChooser.files;
  // Cleared, so that the same file chosen again opens again.
  fileChooser.value = '';
  if (file)
    openFile(file);
});
document.body.append(fileChooser);

// «Сохранить…»: the page's calculation as a download, and kept for the next
// visit.
async function saveCalculation() {
  const kalventa = await coreOrMessage();
  if (!kalventa)
    return;
  const saved = kalventa.saveFile(windowFile, rulesCheck.opened ? fileWindowOver(rulesElement) : null, today());
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([saved.text], { type: kalventa.calculationFileFacts().mediaType }));
  link.download = saved.name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  try {
    localStorage.setItem(savedKey, JSON.stringify({ name: saved.name, text: saved.text }));
  } catch {
    // Too large for the browser's storage: an older calculation must not come back instead.
    localStorage.removeItem(savedKey);
  }
  form.dispatchEvent(new CustomEvent('calculationsaved', { detail: { name: saved.name } }));
}

// A file dropped anywhere on the page is opened, not shown by the browser in
// the page's place; dragged text still goes into a field.
const carriesFiles = event => event.dataTransfer?.types.includes('Files');
document.addEventListener('dragover', event => {
  if (!carriesFiles(event))
    return;
  event.preventDefault();
  event.dataTransfer.dropEffect = messageOpen() ? 'none' : 'copy';
});
document.addEventListener('drop', event => {
  if (!carriesFiles(event))
    return;
  event.preventDefault();
  const [file] = event.dataTransfer.files;
  if (file && !messageOpen())
    openFile(file);
});

// The calculation saved last, opened again as its file was; forgotten when
// this version cannot open it.
async function reopenSaved() {
  let saved = null;
  try {
    saved = JSON.parse(localStorage.getItem(savedKey));
  } catch {
    return;
  }
  if (typeof saved?.name !== 'string' || typeof saved.text !== 'string')
    return;
  if (await openCalculation(saved.name, 0, async () => saved.text))
    localStorage.setItem(savedKey, JSON.stringify(saved));
  else
    localStorage.removeItem(savedKey);
}

// ---- The formulas ------------------------------------------------------------
// Each result's formula as the core gives it, with the values of the last run
// substituted: on its label as the mouse's tooltip and a screen reader's
// description, in the list of formulas under the window (the keyboard's
// way to them), and in a popover by the label a finger touched.
const formulasView = { dialog: null, groups: [], texts: new Map(), returnFocus: null, tip: null };

function showFormula(name, text) {
  formulasView.texts.set(name, text);
  describe(controls.get(name), text, true);
  // A popover says what its label showed when it was touched, no longer.
  if (formulasView.tip?.owner === name)
    hideFormulaTip();
}

// The list: each calculation under its title, each of its results by name
// over its formula's lines. Not modal, under the command bar, outside the
// window; it takes the focus when opened and gives it back when closed.
function buildFormulas() {
  const dialog = element('dialog', undefined, 'formulas');
  dialog.id = 'Formulas';
  dialog.tabIndex = -1;
  dialog.setAttribute('aria-labelledby', 'formulas-title');
  const title = element('h2', 'Формулы', 'title');
  title.id = 'formulas-title';
  const list = element('div', undefined, 'groups');
  dialog.append(title, list, closeRow('formulasClose', closeFormulas));
  dialog.addEventListener('keydown', event => {
    if (event.key === 'Escape') {
      event.preventDefault();
      closeFormulas();
    }
  });
  return dialog;
}

function fillFormulas() {
  const list = formulasView.dialog?.querySelector('.groups');
  if (!list)
    return;
  list.replaceChildren(...formulasView.groups.map(group => {
    const section = element('section');
    const terms = element('dl');
    for (const [label, name] of group.results)
      terms.append(element('dt', name), element('dd', formulasView.texts.get(label) ?? ''));
    section.append(element('h3', group.title), terms);
    return section;
  }));
}

async function openFormulas() {
  await core;
  if (!formulasView.dialog) {
    formulasView.dialog = buildFormulas();
    commandBar.after(formulasView.dialog);
  }
  // The focus goes back where it was when it came into the panel.
  if (!formulasView.dialog.contains(document.activeElement))
    formulasView.returnFocus = document.activeElement;
  if (!formulasView.dialog.open) {
    fillFormulas();
    formulasView.dialog.show();
  }
  formulasView.dialog.focus();
}

function closeFormulas() {
  formulasView.dialog.close();
  formulasView.returnFocus?.focus();
}

// A touch on a result: its formula in a popover under it, put away by a touch
// anywhere else or by Esc. The mouse's click does nothing, so that a result
// is still selected by dragging over it.
let pointerKind = 'mouse';
function hideFormulaTip() {
  formulasView.tip?.remove();
  formulasView.tip = null;
}
document.addEventListener('pointerdown', event => {
  pointerKind = event.pointerType;
  const tip = formulasView.tip;
  if (tip && !tip.contains(event.target) && event.target.id !== tip.owner)
    hideFormulaTip();
}, true);
document.addEventListener('keydown', event => {
  if (event.key === 'Escape' && formulasView.tip)
    hideFormulaTip();
});

function showFormulaTip(label) {
  hideFormulaTip();
  const tip = element('div', undefined, 'formula-tip');
  tip.id = 'formulaTip';
  tip.owner = label.id;
  tip.setAttribute('role', 'tooltip');
  tip.append(element('div', label.getAttribute('aria-label'), 'name'),
    element('div', formulasView.texts.get(label.id) ?? '', 'lines'));
  document.body.append(tip);
  // Under the label, within the page's width.
  const box = label.getBoundingClientRect();
  const width = tip.getBoundingClientRect().width;
  const room = document.documentElement.clientWidth - 4;
  tip.style.left = `${Math.max(4, Math.min(box.left, room - width)) + window.scrollX}px`;
  tip.style.top = `${box.bottom + window.scrollY + 6}px`;
  formulasView.tip = tip;
}

for (const label of form.querySelectorAll('.label'))
  label.addEventListener('click', () => {
    if (pointerKind === 'touch' && formulasView.texts.has(label.id))
      showFormulaTip(label);
  });

// ---- The command bar ---------------------------------------------------------
// Below the window, never over it: the commands of the desktop's context
// menu, each with its key, which works with the bar or without it. Keys that
// browsers leave to the page: Ctrl+Shift+C is the developer tools' inspector
// in Chromium and Firefox (Ctrl+Shift+K Firefox's console, ⌥⌘C both on a
// Mac), so the results are copied with Ctrl+Alt+C (⌃⌘C on a Mac), and with
// Ctrl+Shift+C (⌃⇧C) where the browser lets it through. The first key of a
// command is the one its button shows.
const onMac = /^(Mac|iPhone|iPad)/.test(navigator.platform);
const commands = [
  { id: 'commandOpen', text: 'Открыть…', keys: ['Ctrl+O'], macKeys: ['⌘O'], run: () => fileChooser.click() },
  { id: 'commandSave', text: 'Сохранить…', keys: ['Ctrl+S'], macKeys: ['⌘S'], run: saveCalculation },
  { id: 'commandPrint', text: 'Печать…', keys: ['Ctrl+P'], macKeys: ['⌘P'], run: printReport },
  { id: 'commandCopy', text: tables.commandNames.copyResults, keys: ['Ctrl+Alt+C', 'Ctrl+Shift+C'],
    macKeys: ['⌃⌘C', '⌃⇧C'], run: copyResults },
  { id: 'commandRules', text: tables.commandNames.rulesCheck, keys: ['F9'], macKeys: ['F9'], run: openRulesCheck },
  // F for the formulas, with Shift: Ctrl+F (⌘F) is the browser's find in the page.
  { id: 'commandFormulas', text: 'Формулы', keys: ['Ctrl+Shift+F'], macKeys: ['⇧⌘F'], run: openFormulas },
];

// A key as its button shows it, "Ctrl+Alt+C" or "⌃⌘C": the modifiers it
// needs, all others up, and the key's code, the same in any keyboard layout.
function readKey(shown) {
  const [, mac, name] = /^([⌃⌥⇧⌘]*)(.+)$/.exec(shown);
  const parts = mac ? [...mac, name] : shown.split('+');
  const key = parts.pop();
  const modifiers = new Set(parts);
  return {
    code: /^[A-Z]$/.test(key) ? `Key${key}` : key,
    ctrlKey: modifiers.has('Ctrl') || modifiers.has('⌃'),
    altKey: modifiers.has('Alt') || modifiers.has('⌥'),
    shiftKey: modifiers.has('Shift') || modifiers.has('⇧'),
    metaKey: modifiers.has('⌘'),
  };
}

// The same key as ARIA names it for a screen reader: "Control+Alt+C", "Meta+O".
function ariaKey(key) {
  const names = [['ctrlKey', 'Control'], ['altKey', 'Alt'], ['shiftKey', 'Shift'], ['metaKey', 'Meta']];
  return [...names.filter(([modifier]) => key[modifier]).map(([, name]) => name), key.code.replace(/^Key/, '')].join('+');
}

const commandBar = document.createElement('div');
commandBar.id = 'commands';
commandBar.className = 'commands';
commandBar.setAttribute('role', 'group');
commandBar.setAttribute('aria-label', 'Команды');
for (const command of commands) {
  const shown = onMac ? command.macKeys : command.keys;
  command.readKeys = shown.map(readKey);
  const button = document.createElement('button');
  button.type = 'button';
  button.id = command.id;
  const name = document.createElement('span');
  name.textContent = command.text;
  const key = document.createElement('kbd');
  key.textContent = shown[0];
  button.append(name, key);
  button.setAttribute('aria-keyshortcuts', command.readKeys.map(ariaKey).join(' '));
  button.addEventListener('click', () => command.run());
  commandBar.append(button);
  tabStops.push({ group: null, targets: [button] });
}
form.after(commandBar);
commandBar.addEventListener('keydown', tabKey);

// A command's key anywhere on the page; none while a message box waits for
// its answer, as the desktop's window takes no command under its modal box.
document.addEventListener('keydown', event => {
  const command = commands.find(({ readKeys }) => readKeys.some(key =>
    key.code === event.code && ['ctrlKey', 'altKey', 'shiftKey', 'metaKey'].every(modifier => key[modifier] === event[modifier])));
  if (!command)
    return;
  event.preventDefault();
  if (!messageOpen())
    command.run();
});

for (const row of tables.controls)
  if (row.kind === 'Button')
    controls.get(row.name).addEventListener('click', () => press(row.name));
core.then(async kalventa => {
  nameForScreenReaders(kalventa.windowWords());
  const facts = kalventa.calculationFileFacts();
  fileChooser.accept = `${facts.suffix},${facts.mediaType}`;
  try {
    await reopenSaved();
  } finally {
    form.dataset.ready = 'true';
  }
}, () => {
  form.dataset.ready = 'false';
  showMessage(coreMissing);
});

focusTarget(tables.tabOrder[0]).focus();
performance.mark('window-built');
