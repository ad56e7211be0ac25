// The page recorder. It runs at document start in the main frame, before any script of the page,
// inside a function that has already defined TABLE (the blocklist's lookup table: `hosts`, a set of
// blocked host names, and `paths`, the blocked host-plus-path prefixes). It counts every request the
// page makes by host (blocked by the rule list, other sites, the site's own other hosts), tells the
// shell the running blocked count, and publishes window.__nimb.network() for the collector.
//
// The page may break anything it can reach later on (storage, cookies, window.webkit, getters that
// throw, frozen prototypes), so every access that can fail is guarded, the built-ins used later are
// taken now, and the page's own calls always go through unchanged.

if (!/^https?:$/.test(location.protocol)) return;

var apply = Reflect.apply;
var later = window.setTimeout;
var ownKeys = Object.keys;
var hasOwn = Object.prototype.hasOwnProperty;
var Observer = window.MutationObserver;
var Timeline = window.PerformanceObserver;

var FETCHERS = /^(SCRIPT|IMG|IFRAME|FRAME|LINK|EMBED|OBJECT|SOURCE|VIDEO|AUDIO|TRACK)$/;
var SKIP_REL = /canonical|alternate|manifest|icon|apple-touch|search|author|license|prev|next|profile|help/i;
var ADDRESS = /^(?:(?:https?|wss?):)?\/\/([^\/:?#]+)/i;
var AUTHORITY = /^(?:(?:https?|wss?):)?\/\/[^\/]*/i;
var SECOND_LEVEL = /^(co|com|org|net|ac|gov|edu|or|ne|go|gouv)$/i;
var MARKUP = 'script[src],img[src],iframe[src],frame[src],link[href],embed[src],object[data],' +
    'source[src],video[src],audio[src],track[src]';
var INSIDE = 'script,img,iframe,frame,link,embed,object,source,video,audio,track';

// Plain maps without a prototype, so that no host name can collide with an inherited member.
var blocked = Object.create(null);
var other = Object.create(null);
var house = Object.create(null);
var seen = Object.create(null);
var told = -1;
var timer = null;
var dbNames = [];
var site = '';
try {
    site = String(location.hostname || '').toLowerCase();
} catch (e) {}

var handler = null;
try {
    handler = window.webkit.messageHandlers.blocked;
} catch (e) {}

function send(body) {
    try {
        (handler || window.webkit.messageHandlers.blocked).postMessage(body);
    } catch (e) {}
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

function add(bin, h) {
    bin[h] = (bin[h] || 0) + 1;
}

function root(h) {
    var parts = h.split('.');
    if (parts.length < 3) return h;
    var n = parts.length;
    if (SECOND_LEVEL.test(parts[n - 2]) && parts[n - 1].length <= 3) return parts.slice(n - 3).join('.');
    return parts.slice(n - 2).join('.');
}

function note(url, repeatable) {
    if (!url) return;
    url = String(url);
    var m = ADDRESS.exec(url);
    if (!m) return;
    if (!repeatable) {
        if (seen[url]) return;
        seen[url] = 1;
    }
    var h = whole(m[1].toLowerCase());
    var name = h;
    while (name.indexOf('.') > 0) {
        if (apply(hasOwn, TABLE.hosts, [name])) {
            add(blocked, h);
            return;
        }
        name = name.slice(name.indexOf('.') + 1);
    }
    var hostAndPath = h + url.replace(AUTHORITY, '');
    var paths = TABLE.paths || [];
    for (var i = 0; i < paths.length; i++) {
        var p = paths[i];
        if (hostAndPath.indexOf(p) === 0 || hostAndPath.indexOf('.' + p) >= 0) {
            add(blocked, h);
            return;
        }
    }
    if (root(h) !== root(site)) {
        add(other, h);
        return;
    }
    if (h !== site) add(house, h);
}

function fromElement(el) {
    if (!el || el.nodeType !== 1) return;
    var tag = el.tagName;
    if (!FETCHERS.test(tag)) return;
    if (tag === 'LINK' && SKIP_REL.test(el.getAttribute('rel') || '')) return;
    note(el.getAttribute('src') || el.getAttribute('href') || el.getAttribute('data'), false);
}

function fromEntries(entries) {
    for (var i = 0; i < entries.length; i++) {
        try {
            note(entries[i].name, false);
        } catch (e) {}
    }
}

function scan() {
    try {
        var list = document.querySelectorAll(MARKUP);
        for (var i = 0; i < list.length; i++) {
            try {
                fromElement(list[i]);
            } catch (e) {}
        }
    } catch (e) {}
    try {
        fromEntries(performance.getEntriesByType('resource'));
    } catch (e) {}
}

// The blocked counts as a flat list, host then count: what the window reads of a message.
function counts() {
    var list = [];
    var hosts = ownKeys(blocked);
    for (var i = 0; i < hosts.length; i++) list.push(hosts[i], blocked[hosts[i]]);
    return list;
}

function total() {
    var sum = 0;
    var hosts = ownKeys(blocked);
    for (var i = 0; i < hosts.length; i++) sum += blocked[hosts[i]];
    return sum;
}

function readDatabases() {
    try {
        if (!window.indexedDB || !indexedDB.databases) return;
        indexedDB.databases().then(function (list) {
            try {
                var names = [];
                for (var i = 0; i < list.length; i++) {
                    var n = list[i] ? list[i].name : undefined;
                    n = n === undefined || n === null ? '' : whole(String(n));
                    if (n) names.push(n);
                }
                names.sort();
                dbNames = names.slice(0, 40);
            } catch (e) {}
        }, function () {});
    } catch (e) {}
}

function post() {
    if (timer) return;
    try {
        timer = apply(later, window, [function () {
            timer = null;
            scan();
            readDatabases();
            var n = total();
            if (n === told) return;
            told = n;
            send({network: n, hosts: ownKeys(blocked).concat(ownKeys(other)), counts: counts()});
        }, 500]);
    } catch (e) {
        timer = null;
    }
}

function jar(which) {
    var items = [];
    var store = null;
    try {
        store = window[which];
    } catch (e) {}
    if (store) {
        try {
            for (var i = 0; i < store.length && i < 400; i++) {
                var k = String(store.key(i));
                var v;
                try {
                    v = store.getItem(k);
                } catch (e) {
                    v = '';
                }
                v = v === null || v === undefined ? '' : String(v);
                items.push({
                    key: whole(cut(k, 120)),
                    bytes: (k.length + v.length) * 2,
                    preview: whole(cut(v.replace(/\s+/g, ' '), 90))
                });
            }
        } catch (e) {}
    }
    items.sort(function (a, b) { return b.bytes - a.bytes; });
    return items;
}

function jarRecord(which) {
    var items = jar(which);
    var bytes = 0;
    for (var i = 0; i < items.length; i++) bytes += items[i].bytes;
    return {count: items.length, bytes: bytes, items: items.slice(0, 60)};
}

function cookies() {
    try {
        var text = document.cookie;
        return text ? String(text).split(';').length : 0;
    } catch (e) {
        return 0;
    }
}

// The engine keeps only a limited number of entries in the resource timeline; an observer
// registered now sees every one of them.
try {
    new Timeline(function (list) {
        try {
            fromEntries(list.getEntries());
        } catch (e) {}
    }).observe({type: 'resource', buffered: true});
} catch (e) {}

function address(input) {
    if (typeof input === 'string') return input;
    if (input instanceof URL) return input.href;
    return input ? input.url : undefined;
}

if (typeof window.fetch === 'function') {
    var realFetch = window.fetch;
    window.fetch = function (input) {
        try {
            note(address(input), true);
            post();
        } catch (e) {}
        return apply(realFetch, this, arguments);
    };
}

try {
    var realOpen = XMLHttpRequest.prototype.open;
    XMLHttpRequest.prototype.open = function (method, url) {
        try {
            note(url, true);
            post();
        } catch (e) {}
        return apply(realOpen, this, arguments);
    };
} catch (e) {}

if (navigator.sendBeacon) {
    var realBeacon = navigator.sendBeacon;
    try {
        navigator.sendBeacon = function (url) {
            try {
                note(url, true);
                post();
            } catch (e) {}
            return apply(realBeacon, this, arguments);
        };
    } catch (e) {}
}

// The engine tells nobody else of the WebSocket connections a page opens.
try {
    var RealSocket = window.WebSocket;
    if (typeof RealSocket === 'function') {
        var Socket = function WebSocket(url) {
            try {
                note(url, true);
                post();
            } catch (e) {}
            return Reflect.construct(RealSocket, arguments, new.target || Socket);
        };
        Socket.prototype = RealSocket.prototype;
        ['CONNECTING', 'OPEN', 'CLOSING', 'CLOSED'].forEach(function (name) {
            try {
                Object.defineProperty(Socket, name, {value: RealSocket[name]});
            } catch (e) {}
        });
        window.WebSocket = Socket;
    }
} catch (e) {}

try {
    new Observer(function (records) {
        try {
            for (var i = 0; i < records.length; i++) {
                var r = records[i];
                if (r.type === 'attributes') {
                    fromElement(r.target);
                    continue;
                }
                for (var j = 0; j < r.addedNodes.length; j++) {
                    var node = r.addedNodes[j];
                    if (node.nodeType !== 1) continue;
                    fromElement(node);
                    if (!node.firstElementChild) continue; // as the parser adds them, one by one
                    var inside = node.querySelectorAll(INSIDE);
                    for (var k = 0; k < inside.length; k++) fromElement(inside[k]);
                }
            }
        } catch (e) {}
        post();
    }).observe(document.documentElement || document,
               {childList: true, subtree: true, attributes: true, attributeFilter: ['src', 'href']});
} catch (e) {}

window.__nimb = window.__nimb || {};
window.__nimb.network = function () {
    scan();
    readDatabases();
    var forgot = false;
    try {
        forgot = !!window.__nimb.forgot;
    } catch (e) {}
    return {
        count: total(),
        blocked: blocked,
        other: ownKeys(other).sort(),
        house: ownKeys(house).sort(),
        cookies: cookies(),
        storage: {
            local: jarRecord('localStorage'),
            session: jarRecord('sessionStorage'),
            databases: dbNames,
            forgotten: forgot
        }
    };
};

readDatabases();
try {
    document.addEventListener('DOMContentLoaded', post);
    window.addEventListener('load', post);
} catch (e) {}

// Back or Forward may bring the page back from the engine's page cache: nothing here runs again,
// and the shell has let go of the counts it was told. Tell them once more, whatever was told before.
// Only the engine's own event counts, so that the page cannot make this speak for it.
try {
    window.addEventListener('pageshow', function (event) {
        try {
            if (!event.isTrusted || !event.persisted) return;
            told = total();
            send({network: told, hosts: ownKeys(blocked).concat(ownKeys(other)), counts: counts(), restored: true});
        } catch (e) {}
    });
} catch (e) {}
[1200, 3000, 6000, 9000].forEach(function (delay) {
    try {
        apply(later, window, [post, delay]);
    } catch (e) {}
});
