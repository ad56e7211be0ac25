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

// `runs` holds, for every text node the script split, the node and what follows it in its place: each
// mark and the text after it, in order. The node keeps the text before its first mark.
var S = window.__nimbFind;
if (!S) {
    S = {hits: [], marks: [], boxed: [], query: '', index: 0, stood: null, stoodPriority: '', styleText: null,
         runs: []};
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
// node starts in it. A text node split by the last search (a key of `whole`) reads as the text it
// was, with its marks: the marks and the text after them are stepped over.
function read(whole) {
    var parts = [];
    var length = 0;
    var broken = true; // nothing yet, or a line feed last: no break needed
    var nodes = [];
    var starts = [];
    var texts = [];
    var runs = [];
    var body = document.body;
    if (!body) return {text: '', nodes: nodes, starts: starts, texts: texts, runs: runs};

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
            var run = whole.size ? whole.get(n) : undefined;
            var data = run ? run.text : n.data;
            nodes.push(n);
            starts.push(length);
            texts.push(data);
            runs.push(run);
            if (data.length) {
                parts.push(data);
                length += data.length;
                broken = data.charCodeAt(data.length - 1) === 10;
            }
            if (run) n = run.parts[run.parts.length - 1];
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
    return {text: parts.join(''), nodes: nodes, starts: starts, texts: texts, runs: runs};
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

// A new search; answers where to start: {index, box}. The last search's marks are not taken out and
// put back: where a text node holds matches again, its marks and the text between them are
// rewritten in place, so that the page is touched only where its text is cut differently. Where to
// start is measured before anything is touched, while the page's layout is still the one on screen
// (the marks take no room, so it is the layout they will have).
function scan(q) {
    var fq = fold(q);
    var whole = keptRuns();
    var page = read(whole);
    var ft = fold(page.text);
    var found = [];
    for (var at = ft.indexOf(fq); at >= 0 && found.length < LIMIT; at = ft.indexOf(fq, at + fq.length))
        found.push(at);

    // Each occurrence cut into the pieces that fall in each text node: [node, start, end, match].
    var pieces = [];
    var byMatch = [];
    var j = 0;
    for (var m = 0; m < found.length; m++) {
        var s = found[m];
        var e = s + fq.length;
        byMatch.push([]);
        while (j + 1 < page.nodes.length && page.starts[j + 1] <= s) j++;
        for (var k = j; k < page.nodes.length && page.starts[k] < e; k++) {
            var ns = page.starts[k];
            var a = Math.max(s, ns);
            var b = Math.min(e, ns + page.texts[k].length);
            if (b > a) {
                var piece = [k, a - ns, b - ns, m];
                pieces.push(piece);
                byMatch[m].push(piece);
            }
        }
    }

    // The matches in document order, text fields among them: a text match stands at its first node.
    var order = [];
    for (var x = 0; x < byMatch.length; x++) {
        if (byMatch[x].length) order.push({at: page.nodes[byMatch[x][0][0]], match: x});
    }
    var fields = document.querySelectorAll('input,textarea');
    var boxed = [];
    for (var f = 0; f < fields.length && f < LIMIT; f++) {
        var field = fields[f];
        if (UNREAD.test(String(field.type || ''))) continue;
        var value = String(field.value || '');
        if (!value || !rendered(field) || fold(value).indexOf(fq) < 0) continue;
        boxed.push(field);
        order.push({at: field, field: field});
    }
    if (boxed.length) {
        order.sort(function (one, two) {
            if (one.at === two.at) return 0;
            return one.at.compareDocumentPosition(two.at) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1;
        });
    }
    var start = firstInView(order, page, byMatch);

    // Every text node with pieces, and every one split last time, is cut anew, in document order.
    var runs = [];
    var marks = [];
    var p = 0;
    for (var t = 0; t < page.nodes.length; t++) {
        var node = page.nodes[t];
        var run = page.runs[t];
        if (run) whole.delete(node);
        var first = p;
        while (p < pieces.length && pieces[p][0] === t) p++;
        if (first === p) {
            if (run) rejoin(run);
            continue;
        }
        var cut = recut(node, run ? run.parts : [], page.texts[t], pieces, first, p);
        if (!cut) {
            if (run) rejoin(run);
            continue;
        }
        runs.push(cut);
        for (var y = 0; y < cut.parts.length; y += 2) {
            pieces[first + y / 2][4] = cut.parts[y];
            marks.push(cut.parts[y]);
        }
    }
    // Runs the reading did not reach (their text is no longer shown) are made whole all the same.
    whole.forEach(rejoin);
    S.runs = runs;
    S.marks = marks;
    unbox();
    for (var z = 0; z < boxed.length; z++) boxed[z].setAttribute('nimb-in', '');
    S.boxed = boxed;

    // A match none of whose pieces could be wrapped is dropped.
    var hits = [];
    var index = 0;
    for (var o = 0; o < order.length; o++) {
        var hit = order[o].field ? [order[o].field] : [];
        if (!order[o].field) {
            var list = byMatch[order[o].match];
            for (var l = 0; l < list.length; l++) {
                if (list[l][4]) hit.push(list[l][4]);
            }
        }
        if (!hit.length) continue;
        hits.push(hit);
        if (o === start.at) index = hits.length;
    }
    S.hits = hits;
    if (!index) return {index: nearest(), box: undefined};
    return {index: index, box: start.box};
}

// The first match in `order` whose box has a size and whose top is at or below the top of the
// viewport, failing that the first; measured on the page as it stands, before any cutting. Answers
// {at, box}: its place in `order` (-1 when there is none) and its box.
function firstInView(order, page, byMatch) {
    var range = document.createRange();
    var first = null;
    for (var i = 0; i < order.length; i++) {
        var b = order[i].field ? box([order[i].field]) : textBox(range, page, byMatch[order[i].match]);
        if (i === 0) first = b;
        if (b && b.top >= 0) return {at: i, box: b};
    }
    return {at: order.length ? 0 : -1, box: first};
}

// The box of a match's pieces where their text stands now, by the same rule as `box`.
function textBox(range, page, pieces) {
    var top = Infinity;
    var bottom = -Infinity;
    for (var i = 0; i < pieces.length; i++) {
        var piece = pieces[i];
        place(range, page.nodes[piece[0]], page.runs[piece[0]], piece[1], piece[2]);
        var r = range.getBoundingClientRect();
        if (r.width > 0 && r.height > 0) {
            top = Math.min(top, r.top);
            bottom = Math.max(bottom, r.bottom);
        }
    }
    return top === Infinity ? null : {top: top, bottom: bottom, height: bottom - top};
}

// Sets the range over the text from `start` to `end` of a text node, or of the run it heads, whose
// text is spread over the node, the marks' text nodes and the text nodes after them.
function place(range, node, run, start, end) {
    if (!run) {
        range.setStart(node, start);
        range.setEnd(node, end);
        return;
    }
    var segments = [node];
    for (var i = 0; i < run.parts.length; i += 2) segments.push(run.parts[i].firstChild, run.parts[i + 1]);
    var from = 0;
    var started = false;
    for (var k = 0; k < segments.length; k++) {
        var length = segments[k].data.length;
        if (!started && start < from + length) {
            range.setStart(segments[k], start - from);
            started = true;
        }
        if (started && end <= from + length) {
            range.setEnd(segments[k], end - from);
            return;
        }
        from += length;
    }
}

function nearest() {
    for (var i = 0; i < S.hits.length; i++) {
        var b = box(S.hits[i]);
        if (b && b.top >= 0) return i + 1;
    }
    return S.hits.length ? 1 : 0;
}

// The text a run stands for when it is still as the script left it: the node, then each mark with
// its one text node and the text node after it, side by side. Null once the page has changed any of it.
function joined(run) {
    var node = run.node;
    var parts = run.parts;
    if (!node.parentNode) return null;
    var text = node.data;
    var at = node.nextSibling;
    for (var i = 0; i < parts.length; i += 2) {
        var mark = parts[i];
        var after = parts[i + 1];
        var inner = mark.firstChild;
        if (mark !== at || !inner || inner !== mark.lastChild || inner.nodeType !== 3 ||
            mark.nextSibling !== after)
            return null;
        text += inner.data + after.data;
        at = after.nextSibling;
    }
    return text;
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

// Makes a run's node whole again; only for a run as the script left it.
function rejoin(run) {
    var text = run.text === undefined ? joined(run) : run.text;
    var parent = run.node.parentNode;
    for (var i = run.parts.length - 1; i >= 0; i--) parent.removeChild(run.parts[i]);
    if (run.node.data !== text) run.node.data = text;
}

// Every run as the script left it, by its node, with the text it stands for. When the page has
// changed any of them since, every mark is taken out the careful way first and none is kept.
function keptRuns() {
    var whole = new Map();
    for (var r = 0; r < S.runs.length; r++) {
        var run = S.runs[r];
        var text = joined(run);
        if (text === null) {
            unwrapAll();
            return new Map();
        }
        whole.set(run.node, {node: run.node, parts: run.parts, text: text});
    }
    return whole;
}

function unwrapAll() {
    var parents = new Set();
    for (var j = S.marks.length - 1; j >= 0; j--) unwrap(S.marks[j], parents);
    parents.forEach(function (p) { p.normalize(); });
    S.runs = [];
    S.marks = [];
}

// Cuts one text node, whose text is `text`, at the pieces first..end - 1 of `pieces`, reusing the
// marks and text nodes of its last cut (`parts`) and adding or removing only what the count of
// pieces differs by. Answers the new run, or null when the node could not be cut.
function recut(node, parts, text, pieces, first, end) {
    var count = end - first;
    var had = parts.length / 2;
    var next = parts.slice(0, 2 * Math.min(count, had));
    try {
        if (count > had) {
            var more = document.createDocumentFragment();
            for (var i = had; i < count; i++) {
                var mark = document.createElement('nimb-found');
                mark.appendChild(document.createTextNode(''));
                var after = document.createTextNode('');
                more.appendChild(mark);
                more.appendChild(after);
                next.push(mark, after);
            }
            var last = had ? parts[parts.length - 1] : node;
            node.parentNode.insertBefore(more, last.nextSibling);
        }
    } catch (err) {
        return null;
    }
    for (var r = parts.length - 1; r >= 2 * count; r--) node.parentNode.removeChild(parts[r]);
    var head = text.slice(0, pieces[first][1]);
    if (node.data !== head) node.data = head;
    for (var k = 0; k < count; k++) {
        var piece = pieces[first + k];
        var inner = next[2 * k].firstChild;
        var match = text.slice(piece[1], piece[2]);
        if (inner.data !== match) inner.data = match;
        var tail = text.slice(piece[2], k + 1 < count ? pieces[first + k + 1][1] : text.length);
        if (next[2 * k + 1].data !== tail) next[2 * k + 1].data = tail;
    }
    return {node: node, parts: next};
}

function unbox() {
    for (var i = 0; i < S.boxed.length; i++) {
        S.boxed[i].removeAttribute('nimb-in');
        S.boxed[i].removeAttribute('here');
    }
    S.boxed = [];
}

function wipe() {
    unbox();
    var whole = keptRuns();
    whole.forEach(rejoin);
    S.runs = [];
    S.hits = [];
    S.marks = [];
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

// Whether a box lies in the part of the viewport the bar leaves free, below a margin at the top.
function inBand(b, px) {
    return b.top >= 48 && b.bottom <= window.innerHeight - (px + 24);
}

function reveal(hit, px) {
    var top = 48;
    var bottom = window.innerHeight - (px + 24);
    var b = box(hit);
    if (!b) return;
    if (inBand(b, px)) return;
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
// The box of a new search's first match is known from before the page was cut: no need to lay the
// page out again just to find it already in view.
var measured;
if (q !== S.query) {
    S.query = q;
    S.index = 0;
    var start = scan(q);
    S.index = start.index;
    measured = start.box;
} else if (S.hits.length) {
    var count = S.hits.length;
    S.index = ((((S.index - 1 + step) % count) + count) % count) + 1;
}

var lit = document.querySelectorAll('nimb-found[here],[nimb-in][here]');
for (var i = 0; i < lit.length; i++) lit[i].removeAttribute('here');
if (S.index > 0) {
    var hit = S.hits[S.index - 1];
    for (var h = 0; h < hit.length; h++) hit[h].setAttribute('here', '');
    if (measured === undefined || (measured !== null && !inBand(measured, foot))) reveal(hit, foot);
}
return {count: S.hits.length, index: S.index};
