// Wall and ad-slot hiding. It runs at document start in the main frame, inside a function that has
// already defined HIDE (the consent-wall selectors of the blocklist). It hides consent walls the
// selectors do not know, the curtains drawn over a loading page and ad slots left empty, gives back
// scrolling a wall had frozen, shows a body left invisible, and publishes window.__nimb.walls(): the
// log of what it hid followed by the known walls present in the page.

if (!/^https?:$/.test(location.protocol)) return;

var apply = Reflect.apply;
var later = window.setTimeout;
var clock = Date.now;
var computed = window.getComputedStyle;
var frame = window.requestAnimationFrame;
var Observer = window.MutationObserver;

var WORDS = /cookie|consent|gdpr|ccpa|privacy|newsletter|subscribe|sign ?up|notification|ad ?block/i;
var WORDS_ES = /consentimiento|privacidad|aviso legal|datos personales|suscr[ií]b|bolet[ií]n|notificaci|publicidad/i;
var WORDS_IT = /consenso|informativa|riservatezza|dati personali|iscriviti|newsletter|notifiche|pubblicit/i;
var WORDS_FR = /consentement|confidentialit|vie priv|donn[ée]es personnelles|abonn|infolettre|notification|publicit/i;
var ACTS = /\b(accept|agree|allow|got it|understood|continue|reject|decline|refuse|no thanks|maybe later|not now|only essential|essential only|only necessary|necessary only|manage (options|preferences|settings|cookies)|dismiss|consent)\b/i;
var ACTS_ES = /\b(aceptar|acepto|de acuerdo|permitir|entendido|continuar|rechazar|rechazo|denegar|no gracias|m[áa]s tarde|ahora no|solo (las )?(esenciales|necesarias|imprescindibles)|configurar|gestionar (opciones|preferencias|cookies)|consentir)\b/i;
var ACTS_IT = /\b(accetta|accetto|acconsento|consenti|ho capito|va bene|continua|prosegui|rifiuta|rifiuto|nega|no grazie|pi[ùu] tardi|non ora|solo (i |le )?(essenziali|necessari|necessarie)|gestisci (opzioni|preferenze|cookie)|impostazioni)\b/i;
var ACTS_FR = /\b(accepter|accepte|autoriser|compris|d.accord|continuer|refuser|refuse|rejeter|non merci|plus tard|pas maintenant|(uniquement|seulement) (les )?(essentiels|n[ée]cessaires)|(essentiels|n[ée]cessaires) (uniquement|seulement)|g[ée]rer (les )?(options|pr[ée]f[ée]rences|cookies)|param[ée]trer)\b/i;
var SHORT = /^(ok|okay|close|yes|no|x|×|✕|✖|✗|s[íi]|s[ìi]|oui|non|vale|cerrar|chiudi|fermer)$/i;
var SCRIM = /(backdrop|overlay|scrim|dimmer|blocker|shade|modal-bg)/i;
var SLOT = /(^|[-_ ])(ad|ads|advert|adverts|advertisement|advertising|adslot|adunit|adbox|adwrapper|adcontainer|dfp|gpt|sponsored|anuncio|annonce|publicidad|publicite|pubblicita)([-_ 0-9]|$)/i;

var TOPICS = [WORDS, WORDS_ES, WORDS_IT, WORDS_FR];
var BUTTONS = [ACTS, ACTS_ES, ACTS_IT, ACTS_FR];
var CONTROLS = 'button,a,[role=button],input[type=button],input[type=submit]';
var LEVELS = 'body > *, body > * > *, body > * > * > *';

var started = clock();
var told = -1;
var pending = null;
var queue = [];
var log = [];

var handler = null;
try {
    handler = window.webkit.messageHandlers.blocked;
} catch (e) {}

function send(body) {
    try {
        (handler || window.webkit.messageHandlers.blocked).postMessage(body);
    } catch (e) {}
}

function style(el) {
    return apply(computed, window, [el]);
}

// Text that JSON readers accept: a lone UTF-16 surrogate becomes U+FFFD.
function whole(s) {
    return s.isWellFormed ? (s.isWellFormed() ? s : s.toWellFormed())
                          : s.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(^|[^\uD800-\uDBFF])[\uDC00-\uDFFF]/g,
                                      function (m, before) { return (before || '') + '\uFFFD'; });
}

// The first n UTF-16 code units of s, never ending inside a surrogate pair.
function cut(s, n) {
    if (s.length <= n) return s;
    var c = s.charCodeAt(n - 1);
    return s.slice(0, c >= 0xD800 && c <= 0xDBFF ? n - 1 : n);
}

function squash(s) {
    return String(s || '').replace(/\s+/g, ' ').trim();
}

function names(el) {
    return (typeof el.className === 'string' ? el.className : '') + ' ' + el.id;
}

function any(patterns, s) {
    for (var i = 0; i < patterns.length; i++) {
        if (patterns[i].test(s)) return true;
    }
    return false;
}

function topical(s) {
    return any(TOPICS, s);
}

function acts(t) {
    return any(BUTTONS, t);
}

function actionable(el) {
    var controls = el.querySelectorAll(CONTROLS);
    for (var i = 0; i < controls.length && i < 60; i++) {
        var c = controls[i];
        var label = squash(c.innerText || c.value || c.getAttribute('aria-label'));
        if (label && label.length < 40 && (acts(label) || SHORT.test(label))) return true;
    }
    return false;
}

function isWall(el) {
    if (!el || el.nodeType !== 1 || el === document.body || el === document.documentElement) return false;
    if (el.hasAttribute('data-nimb-hidden') || el.id === 'nimb-declutter') return false;
    var cs = style(el);
    if (cs.position !== 'fixed' && cs.position !== 'sticky') return false;
    if (cs.display === 'none' || cs.visibility === 'hidden' || parseFloat(cs.opacity) === 0) return false;
    var r = el.getBoundingClientRect();
    var vw = window.innerWidth;
    var vh = window.innerHeight;
    var w = Math.min(r.right, vw) - Math.max(r.left, 0);
    var h = Math.min(r.bottom, vh) - Math.max(r.top, 0);
    if (w < 120 || h < 60) return false;
    var covers = (w * h) / (vw * vh);
    var band = w > 0.6 * vw && h > 0.08 * vh && (r.top < 4 || r.bottom > vh - 4);
    if (!(covers >= 0.25 || band)) return false;
    var text = squash(el.innerText);
    if (text.length < 40 && covers > 0.5 && clock() - started < 8000 && SCRIM.test(names(el))) return true;
    if (text.length > 2500) return false;
    if (el.getElementsByTagName('a').length > 12) return false;
    if (!topical(text) && !topical(names(el))) return false;
    return actionable(el);
}

function empty(el) {
    if (String(el.innerText || '').trim().length > 24) return false;
    var media = el.querySelectorAll('iframe,img,video,canvas,object,embed,svg');
    for (var i = 0; i < media.length; i++) {
        var r = media[i].getBoundingClientRect();
        if (r.height > 10 && r.width > 10) return false;
    }
    return true;
}

function describe(el) {
    var label = String(el.tagName);
    if (el.id) label += '#' + el.id;
    var first = (typeof el.className === 'string' ? el.className : '').trim().split(/\s+/)[0];
    if (first) label += '.' + first;
    return whole(cut(label, 100));
}

function hide(el, reason) {
    var text = whole(cut(squash(el.innerText), 140));
    el.setAttribute('data-nimb-hidden', '1');
    el.style.setProperty('display', 'none', 'important');
    log.push({label: describe(el), reason: reason, text: text});
}

function known() {
    var found = [];
    if (!HIDE.length) return found;
    try {
        var list = document.querySelectorAll(HIDE.join(','));
        for (var i = 0; i < list.length; i++) {
            var el = list[i];
            found.push({label: describe(el), reason: 'known', text: whole(cut(squash(el.textContent), 140))});
        }
    } catch (e) {
        return [];
    }
    return found;
}

function walls() {
    var items = log.concat(known());
    return {count: items.length, items: items};
}

function insertStyle() {
    try {
        if (!HIDE.length || !document.documentElement || document.getElementById('nimb-declutter')) return;
        var s = document.createElement('style');
        s.id = 'nimb-declutter';
        s.textContent = HIDE.join(',') + '{display:none !important}';
        (document.head || document.documentElement).appendChild(s);
    } catch (e) {}
}

function collapse() {
    var list = document.querySelectorAll('div,aside,section,ins');
    for (var i = 0; i < list.length; i++) {
        var el = list[i];
        try {
            if (el.hasAttribute('data-nimb-hidden') || !SLOT.test(names(el))) continue;
            var r = el.getBoundingClientRect();
            if (r.height >= 30 && r.width >= 60 && empty(el)) hide(el, 'adSlot');
        } catch (e) {}
    }
}

function showBody() {
    if (clock() - started < 2000) return;
    var body = document.body;
    var cs = style(body);
    if (cs.visibility === 'hidden') body.style.setProperty('visibility', 'visible', 'important');
    if (parseFloat(cs.opacity) < 0.1) body.style.setProperty('opacity', '1', 'important');
}

function unlock() {
    var both = [document.documentElement, document.body];
    for (var i = 0; i < both.length; i++) {
        var el = both[i];
        var cs = style(el);
        if (cs.overflow === 'hidden' || cs.overflowY === 'hidden') {
            el.style.setProperty('overflow', 'visible', 'important');
            el.style.setProperty('overflow-y', 'visible', 'important');
        }
        if (cs.position === 'fixed') el.style.setProperty('position', 'static', 'important');
    }
}

function consider(el) {
    try {
        if (isWall(el)) hide(el, 'overlay');
    } catch (e) {}
}

function sweep(extra, deep) {
    insertStyle();
    if (!document.body) return;
    if (deep) {
        try {
            collapse();
        } catch (e) {}
        try {
            showBody();
        } catch (e) {}
    }
    try {
        var list = document.querySelectorAll(LEVELS);
        for (var i = 0; i < list.length; i++) consider(list[i]);
    } catch (e) {}
    for (var j = 0; j < extra.length; j++) consider(extra[j]);
    try {
        var hidden = document.querySelectorAll('[data-nimb-hidden]');
        for (var k = 0; k < hidden.length; k++) {
            if (style(hidden[k]).display !== 'none') hidden[k].style.setProperty('display', 'none', 'important');
        }
        if (hidden.length) unlock();
    } catch (e) {}
    var n = walls().count;
    if (n !== told) {
        told = n;
        send({walls: n});
    }
}

// A sweep reads the computed style of many elements, and the first read makes the engine bring the
// page's style up to date. Run when it is asked for (a timer, the load event), that is a style pass of
// its own, often over a page the engine is not drawing yet because style sheets and fonts are still on
// their way, and it holds up the load event. So a sweep waits for the next frame and runs in its
// callback, where the pass is the one the frame was about to make anyway and a wall goes before it is
// drawn. Sweeps asked for before that frame are made one (their extra elements together, deep when any
// of them was): a sweep's outcome depends only on the page as it then is. A hidden page draws no
// frames, so there the sweep runs from a timer at once; a page that draws none for FRAME_WAIT ms gets
// it then.
var FRAME_WAIT = 500;
var nextSweep = null;

function sweepNow() {
    if (!nextSweep) return;
    var job = nextSweep;
    nextSweep = null;
    try {
        sweep(job.extra, job.deep);
    } catch (e) {}
}

function run(extra, deep) {
    if (nextSweep) {
        nextSweep.extra = nextSweep.extra.concat(extra);
        nextSweep.deep = nextSweep.deep || deep;
        return;
    }
    var job = {extra: extra, deep: deep};
    nextSweep = job;
    // The frame and the timer both ask; whichever comes second finds the sweep made (or a later one
    // waiting, which is not its to run).
    var mine = function () {
        if (nextSweep === job) sweepNow();
    };
    var shown = false;
    try {
        shown = document.visibilityState === 'visible';
    } catch (e) {}
    if (shown && typeof frame === 'function') {
        try {
            apply(frame, window, [mine]);
        } catch (e) {}
        after(FRAME_WAIT, mine);
    } else {
        after(0, mine);
    }
}

function after(delay, work) {
    try {
        return apply(later, window, [work, delay]);
    } catch (e) {
        return null;
    }
}

function schedule(elements) {
    for (var i = 0; i < elements.length && queue.length < 200; i++) queue.push(elements[i]);
    if (pending) return;
    pending = after(300, function () {
        pending = null;
        var batch = queue;
        queue = [];
        run(batch, false);
    });
}

insertStyle();
try {
    document.addEventListener('DOMContentLoaded', function () { run([], false); });
    window.addEventListener('load', function () { run([], true); });
} catch (e) {}
[400, 1200, 2500, 5000, 9000].forEach(function (delay) {
    after(delay, function () { run([], true); });
});

window.__nimb = window.__nimb || {};
window.__nimb.walls = walls;

// Back or Forward may bring the page back from the engine's page cache: nothing here runs again,
// and the shell has let go of the count it was told. Tell it once more, whatever was told before;
// only for the engine's own event, which the page cannot make.
try {
    window.addEventListener('pageshow', function (event) {
        try {
            if (!event.isTrusted || !event.persisted) return;
            told = walls().count;
            send({walls: told});
        } catch (e) {}
    });
} catch (e) {}

try {
    new Observer(function (records) {
        var found = [];
        try {
            for (var i = 0; i < records.length; i++) {
                var r = records[i];
                if (r.type === 'attributes') {
                    if (r.target.nodeType === 1) found.push(r.target);
                    continue;
                }
                for (var j = 0; j < r.addedNodes.length; j++) {
                    if (r.addedNodes[j].nodeType === 1) found.push(r.addedNodes[j]);
                }
            }
        } catch (e) {}
        schedule(found);
    }).observe(document.documentElement || document,
               {childList: true, subtree: true, attributes: true, attributeFilter: ['style', 'class']});
} catch (e) {}
