// Find in page. The body of an asynchronous function of three arguments: `q`, the text to find
// (empty to clear), `step`, -1, 0 or +1 through the matches, and `foot`, how many pixels at the
// bottom of the viewport the find bar covers. Every match is wrapped and painted, text fields that
// contain the text are painted whole, the current match is scrolled into the part of the viewport
// the bar leaves free, and clearing puts the page back as it was. Answers {count, index}, counting
// from one, both 0 when nothing matched.

var LIMIT = 4000;
var REJECT = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEXTAREA', 'SELECT', 'TEMPLATE', 'IFRAME', 'OBJECT',
                      'CANVAS', 'VIDEO', 'AUDIO', 'SVG']);
var BLOCK = new Set(['P', 'DIV', 'BR', 'HR', 'LI', 'UL', 'OL', 'DL', 'DT', 'DD', 'TR', 'TD', 'TH', 'TABLE',
                     'THEAD', 'TBODY', 'TFOOT', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'SECTION', 'ARTICLE',
                     'HEADER', 'FOOTER', 'NAV', 'ASIDE', 'MAIN', 'BLOCKQUOTE', 'PRE', 'FIGURE', 'FIGCAPTION',
                     'FORM', 'FIELDSET', 'ADDRESS', 'BUTTON', 'OPTION', 'DETAILS', 'SUMMARY', 'DIALOG']);
var UNREAD = /^(password|hidden|file|submit|reset|button|image|checkbox|radio|range|color)$/i;
var PAINT = 'nimb-found{background:#FF8ED2 !important;color:#2B0016 !important;border-radius:2px !important}' +
    'nimb-found[here]{background:#FF1F93 !important;color:#2B0016 !important;' +
    'box-shadow:0 0 0 2px #FF1F93 !important}' +
    '[nimb-in]{background:#FF8ED2 !important;color:#2B0016 !important;' +
    '-webkit-text-fill-color:#2B0016 !important}' +
    '[nimb-in][here]{background:#FF1F93 !important;box-shadow:0 0 0 2px #FF1F93 !important}';

var S = window.__nimbFind;
if (!S) {
    S = {hits: [], marks: [], boxed: [], query: '', index: 0, stood: null, stoodPriority: '', styleText: null};
    window.__nimbFind = S;
}

// Lower-cases one character at a time, keeping a character whose lower-case form has another
// length (the dotted capital I), so that every offset in the result is an offset in the text. Only
// that character changes length, and only the capital sigma lower-cases differently in context.
function fold(s) {
    if (!/[\u0130\u03A3]/.test(s)) return s.toLowerCase();
    return s.replace(/[^\u0130\u03A3]+|[\u0130\u03A3]/g, function (m) {
        if (m === '\u0130') return m;
        if (m === '\u03A3') return '\u03C3';
        return m.toLowerCase();
    });
}

// Whether an element has a box at all. checkVisibility() answers from style alone, without the
// layout that asking for client rectangles would force on a page the last search has just changed.
function rendered(el) {
    return el.checkVisibility ? el.checkVisibility() : el.getClientRects().length > 0;
}

// The page's visible text as one string, with a line feed between blocks, and where each text
// node starts in it.
function read() {
    var parts = [];
    var length = 0;
    var broken = true; // nothing yet, or a line feed last: no break needed
    var nodes = [];
    var starts = [];
    var body = document.body;
    if (!body) return {text: '', nodes: nodes, starts: starts};

    // The running text is kept in pieces, with its length and whether it ends in a line feed known
    // without reading it back (reading a long concatenated string back is slow).
    function brk() {
        if (broken) return;
        parts.push('\n');
        length++;
        broken = true;
    }

    var n = body.firstChild;
    while (n) {
        var inside = false;
        if (n.nodeType === 3) {
            var data = n.data;
            nodes.push(n);
            starts.push(length);
            if (data.length) {
                parts.push(data);
                length += data.length;
                broken = data.charCodeAt(data.length - 1) === 10;
            }
        } else if (n.nodeType === 1) {
            var name = n.nodeName.toUpperCase();
            if (!REJECT.has(name) && rendered(n)) {
                if (BLOCK.has(name)) brk();
                inside = true;
            }
        }
        if (inside && n.firstChild) {
            n = n.firstChild;
            continue;
        }
        if (inside && BLOCK.has(n.nodeName.toUpperCase())) brk();
        while (n !== body && !n.nextSibling) {
            n = n.parentNode;
            if (!n) break;
            if (n !== body && BLOCK.has(n.nodeName.toUpperCase())) brk();
        }
        if (!n || n === body) break;
        n = n.nextSibling;
    }
    return {text: parts.join(''), nodes: nodes, starts: starts};
}

function box(hit) {
    var top = Infinity;
    var bottom = -Infinity;
    for (var i = 0; i < hit.length; i++) {
        var r = hit[i].getBoundingClientRect();
        if (r.width > 0 && r.height > 0) {
            top = Math.min(top, r.top);
            bottom = Math.max(bottom, r.bottom);
        }
    }
    return top === Infinity ? null : {top: top, bottom: bottom, height: bottom - top};
}

function scan(q) {
    var fq = fold(q);
    var page = read();
    var ft = fold(page.text);
    var found = [];
    for (var at = ft.indexOf(fq); at >= 0 && found.length < LIMIT; at = ft.indexOf(fq, at + fq.length))
        found.push(at);

    // Each occurrence cut into the pieces that fall in each text node.
    var pieces = [];
    var j = 0;
    for (var m = 0; m < found.length; m++) {
        var s = found[m];
        var e = s + fq.length;
        while (j + 1 < page.nodes.length && page.starts[j + 1] <= s) j++;
        var list = [];
        for (var k = j; k < page.nodes.length && page.starts[k] < e; k++) {
            var ns = page.starts[k];
            var a = Math.max(s, ns);
            var b = Math.min(e, ns + page.nodes[k].data.length);
            if (b > a) list.push([page.nodes[k], a - ns, b - ns]);
        }
        pieces.push(list);
    }

    // Wrapped from the end, so that splitting a text node never moves an offset still to be used.
    var range = document.createRange();
    var hits = [];
    var marks = [];
    for (var x = pieces.length - 1; x >= 0; x--) {
        var wrapped = [];
        for (var y = pieces[x].length - 1; y >= 0; y--) {
            var piece = pieces[x][y];
            try {
                range.setStart(piece[0], piece[1]);
                range.setEnd(piece[0], piece[2]);
                var mark = document.createElement('nimb-found');
                range.surroundContents(mark);
                wrapped.push(mark);
                marks.push(mark);
            } catch (err) {}
        }
        if (wrapped.length) hits.push(wrapped.reverse());
    }
    hits.reverse();
    S.marks = marks;

    var fields = document.querySelectorAll('input,textarea');
    var boxed = [];
    for (var f = 0; f < fields.length && f < LIMIT; f++) {
        var field = fields[f];
        if (UNREAD.test(String(field.type || ''))) continue;
        var value = String(field.value || '');
        if (!value || !rendered(field) || fold(value).indexOf(fq) < 0) continue;
        field.setAttribute('nimb-in', '');
        boxed.push(field);
    }
    S.boxed = boxed;
    if (boxed.length) {
        for (var z = 0; z < boxed.length; z++) hits.push([boxed[z]]);
        hits.sort(function (one, two) {
            if (one[0] === two[0]) return 0;
            return one[0].compareDocumentPosition(two[0]) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1;
        });
    }
    S.hits = hits;
}

function nearest() {
    for (var i = 0; i < S.hits.length; i++) {
        var b = box(S.hits[i]);
        if (b && b.top >= 0) return i + 1;
    }
    return S.hits.length ? 1 : 0;
}

// Puts a mark's text back where it was, joined with the text around it: the text node the mark's
// wrapping split is whole again.
function unwrap(mark, parents) {
    var parent = mark.parentNode;
    if (!parent) return;
    var text = mark.firstChild;
    if (text && text === mark.lastChild && text.nodeType === 3) {
        var before = mark.previousSibling;
        var after = mark.nextSibling;
        var joined = text;
        if (before && before.nodeType === 3) {
            before.appendData(text.data);
            parent.removeChild(mark);
            joined = before;
        } else {
            parent.replaceChild(text, mark);
        }
        if (after && after.nodeType === 3) {
            joined.appendData(after.data);
            parent.removeChild(after);
        }
        return;
    }
    // Whatever the page put inside the mark since: move it out and join text nodes afterwards.
    while (mark.firstChild) parent.insertBefore(mark.firstChild, mark);
    parent.removeChild(mark);
    parents.add(parent);
}

function wipe() {
    for (var i = 0; i < S.boxed.length; i++) {
        S.boxed[i].removeAttribute('nimb-in');
        S.boxed[i].removeAttribute('here');
    }
    var parents = new Set();
    for (var j = 0; j < S.marks.length; j++) unwrap(S.marks[j], parents);
    parents.forEach(function (p) { p.normalize(); });
    S.hits = [];
    S.marks = [];
    S.boxed = [];
    S.query = '';
    S.index = 0;
}

function paint() {
    if (document.getElementById('__nimb-find-paint')) return;
    var style = document.createElement('style');
    style.id = '__nimb-find-paint';
    style.textContent = PAINT;
    (document.head || document.documentElement).appendChild(style);
}

// Lifts the end of the page clear of the bar, remembering the body's own inline value first.
function stand(px) {
    var body = document.body;
    if (!body) return;
    if (S.stood === null) {
        S.styleText = body.getAttribute('style');
        S.stood = body.style.getPropertyValue('padding-bottom');
        S.stoodPriority = body.style.getPropertyPriority('padding-bottom');
    }
    body.style.setProperty('padding-bottom', px + 'px', 'important');
}

function sit() {
    if (S.stood === null) return;
    var body = document.body;
    if (body) {
        if (S.stood)
            body.style.setProperty('padding-bottom', S.stood, S.stoodPriority);
        else
            body.style.removeProperty('padding-bottom');
        // When nothing else of the body's style changed meanwhile, its attribute text comes back too.
        var probe = document.createElement('div');
        if (S.styleText !== null) probe.setAttribute('style', S.styleText);
        // (Reading the attribute first brings it up to date with the style; removed while out of date,
        // the engine would write it back empty.)
        if (probe.style.cssText === body.style.cssText && body.getAttribute('style') !== S.styleText) {
            if (S.styleText === null)
                body.removeAttribute('style');
            else
                body.setAttribute('style', S.styleText);
        }
    }
    S.stood = null;
    S.stoodPriority = '';
}

function scrollInstantly(work) {
    try {
        work('instant');
    } catch (e) {
        work(undefined);
    }
}

function reveal(hit, px) {
    var top = 48;
    var bottom = window.innerHeight - (px + 24);
    var b = box(hit);
    if (!b) return;
    if (b.top >= top && b.bottom <= bottom) return;
    scrollInstantly(function (behavior) {
        hit[0].scrollIntoView({block: 'center', inline: 'nearest', behavior: behavior});
    });
    b = box(hit);
    if (!b || (b.top >= top && b.bottom <= bottom)) return;
    var by = b.top + b.height / 2 - (top + bottom) / 2;
    scrollInstantly(function (behavior) { window.scrollBy({top: by, behavior: behavior}); });
}

q = q === undefined || q === null ? '' : String(q);
step = Number(step) || 0;
foot = Number(foot) || 0;

if (!q) {
    wipe();
    sit();
    return {count: 0, index: 0};
}

paint();
stand(foot);
if (q !== S.query) {
    wipe();
    S.query = q;
    scan(q);
    S.index = nearest();
} else if (S.hits.length) {
    var count = S.hits.length;
    S.index = ((((S.index - 1 + step) % count) + count) % count) + 1;
}

var lit = document.querySelectorAll('nimb-found[here],[nimb-in][here]');
for (var i = 0; i < lit.length; i++) lit[i].removeAttribute('here');
if (S.index > 0) {
    var hit = S.hits[S.index - 1];
    for (var h = 0; h < hit.length; h++) hit[h].setAttribute('here', '');
    reveal(hit, foot);
}
return {count: S.hits.length, index: S.index};
