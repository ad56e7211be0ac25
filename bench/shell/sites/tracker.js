// The body of one of the tracker page's scripts from a blocklisted host: a tag manager, an ad
// library, a header-bidding wrapper, an analytics tag, a consent wall, a newsletter nag or a
// recommendation widget. Each does what such scripts do in the page before it has loaded: reads
// the device, writes cookies and storage, computes, sends beacons, loads more scripts, fills ad
// slots with frames, builds its own boxes, and watches the document. The generator wraps it as
// `(function (cfg) { ... })({...});`, so `cfg` holds:
//   name     a name of its own, for cookies, storage keys and ids
//   work     iterations of computation (hashing, bid scoring, event queues)
//   beacons  addresses of pixels to request
//   scripts  addresses of further scripts to load
//   frames   [slot id, address] pairs: ad frames to place in the page's slots
//   slot     the id of an element to fill with recommendation cards ("" for none)
//   images   the cards' pictures
//   bids     addresses to POST bid requests to
//   wall     "consent", "nag" or "" for none: a box over the page
'use strict';

// The device, as fingerprinting scripts read it.
var traits = [];
try {
    traits.push(navigator.userAgent, navigator.language, navigator.hardwareConcurrency, screen.width,
                screen.height, screen.colorDepth, new Date().getTimezoneOffset());
} catch (e) {}
var canvas = document.createElement('canvas');
canvas.width = 240;
canvas.height = 60;
var context = canvas.getContext('2d');
if (context) {
    context.textBaseline = 'top';
    context.font = '16px sans-serif';
    context.fillStyle = '#f60';
    context.fillRect(10, 5, 120, 30);
    context.fillStyle = '#069';
    context.fillText('fingerprint ' + cfg.name + ' \u263a', 4, 20);
    traits.push(canvas.toDataURL());
}
var print = traits.join('|');
var hash = 5381;
for (var i = 0; i < print.length; i++) hash = (Math.imul(hash, 33) ^ print.charCodeAt(i)) | 0;

// Computation: bid scoring, event queues, compression of what is sent.
var queue = [];
var score = hash;
for (var k = 0; k < cfg.work; k++) {
    score = (Math.imul(score ^ k, 2246822519) + (score >>> 13)) | 0;
    if (k % 499 === 0) queue.push({ e: 'tick', k: k, s: score, t: cfg.name });
}
var payload = JSON.stringify({ id: hash, q: queue, traits: traits.slice(0, 7) });

// Identifiers kept in the jar and in storage.
var id = cfg.name + '.' + (hash >>> 0).toString(36) + '.' + Date.now();
try {
    document.cookie = '_' + cfg.name + '_id=' + id + '; path=/; max-age=34560000';
    document.cookie = '_' + cfg.name + '_s=' + (score >>> 0).toString(16) + '; path=/';
    var seen = document.cookie.length;
    localStorage.setItem('_' + cfg.name, id);
    sessionStorage.setItem('_' + cfg.name + '_session', String(seen));
} catch (e) {}

// Pixels.
cfg.beacons.forEach(function (address, n) {
    var pixel = new Image(1, 1);
    pixel.src = address + '?id=' + encodeURIComponent(id) + '&n=' + n + '&l=' + payload.length;
});

// More scripts, as tag managers and ad libraries load them.
cfg.scripts.forEach(function (address) {
    var tag = document.createElement('script');
    tag.src = address;
    tag.async = true;
    (document.head || document.documentElement).appendChild(tag);
});

// Ad frames in the page's slots, and recommendation cards: once the document is parsed, as the
// slots come after the script.
function placeFrames() {
    cfg.frames.forEach(function (pair) {
        var slot = document.getElementById(pair[0]);
        if (!slot) return;
        var frame = document.createElement('iframe');
        frame.src = pair[1];
        frame.width = 300;
        frame.height = 250;
        frame.setAttribute('frameborder', '0');
        frame.setAttribute('scrolling', 'no');
        slot.appendChild(frame);
    });
}
function placeCards() {
    var slot = cfg.slot ? document.getElementById(cfg.slot) : null;
    if (!slot) return;
    var grid = document.createElement('div');
    grid.className = 'rec-grid rec-' + cfg.name;
    cfg.images.forEach(function (address, n) {
        var card = document.createElement('a');
        card.className = 'rec-card';
        card.href = 'http://' + location.host + '/sponsored/' + cfg.name + '/' + n;
        var picture = document.createElement('img');
        picture.src = address;
        picture.width = 180;
        picture.height = 120;
        picture.alt = '';
        var caption = document.createElement('span');
        caption.textContent = 'You will not believe story ' + n;
        card.appendChild(picture);
        card.appendChild(caption);
        grid.appendChild(card);
    });
    slot.appendChild(grid);
}
if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', function () { placeFrames(); placeCards(); });
} else {
    placeFrames();
    placeCards();
}

// Bid requests.
cfg.bids.forEach(function (address) {
    fetch(address, { method: 'POST', body: payload, credentials: 'include', keepalive: true })
        .then(function (response) { return response.text(); })
        .catch(function () {});
});

// A box over the page: the consent wall, or the newsletter and notification nag.
if (cfg.wall) {
    var box = document.createElement('div');
    box.id = cfg.wall === 'consent' ? 'onetrust-consent-sdk' : 'bench-nag-' + cfg.name;
    box.style.cssText = 'position:fixed;inset:0;z-index:2147483647;background:rgba(0,0,0,.6)';
    var panel = document.createElement('div');
    panel.style.cssText = 'position:absolute;left:10%;right:10%;bottom:0;background:#fff;padding:24px';
    for (var p = 0; p < 24; p++) {
        var row = document.createElement('label');
        var tick = document.createElement('input');
        tick.type = 'checkbox';
        tick.checked = p % 3 !== 0;
        row.appendChild(tick);
        row.appendChild(document.createTextNode(' Partner ' + p + ' (legitimate interest)'));
        panel.appendChild(row);
    }
    var accept = document.createElement('button');
    accept.textContent = 'Accept all';
    panel.appendChild(accept);
    box.appendChild(panel);
    (document.body || document.documentElement).appendChild(box);
    if (document.body) document.body.style.overflow = 'hidden';
}

// Watching the page as it is built: every mutation is queued for the next beacon.
if (window.MutationObserver && document.documentElement) {
    new MutationObserver(function (records) {
        for (var r = 0; r < records.length; r++) queue.push({ e: 'dom', n: records[r].addedNodes.length });
    }).observe(document.documentElement, { childList: true, subtree: true });
}
['mousemove', 'scroll', 'click', 'keydown', 'visibilitychange'].forEach(function (type) {
    document.addEventListener(type, function () { queue.push({ e: type, t: Date.now() }); }, true);
});
window['__' + cfg.name] = { id: id, queue: queue };
