// The body of one of the clean page's own or third-party scripts (a widget, a library, the site's
// application bundle). The generator wraps it as `(function (cfg) { ... })({...});`, so `cfg` holds:
//   name    a name of its own, for ids and storage keys
//   work    iterations of plain computation, as a real bundle spends time on start-up
//   slot    the id of an element to render into ("" for none)
//   build   how many items to build into the slot
//   images  addresses of pictures shown in the built items
//   fetches addresses of JSON documents to ask for and render
'use strict';
var started = Date.now();

// Start-up computation: a bundle evaluating its modules, sorting and formatting data.
var table = [];
var sum = 0;
for (var i = 0; i < cfg.work; i++) {
    sum = (sum + Math.imul(i, 2654435761) + (i % 7) * 31) | 0;
    if (i % 997 === 0) table.push({ key: cfg.name + '-' + i, value: sum, label: 'item ' + (i % 53) });
}
table.sort(function (a, b) { return a.value - b.value; });
var text = JSON.stringify(table);
var parsed = JSON.parse(text);

// A widget of its own, built into the page; once the document is parsed when its slot comes later
// than the script.
var slot = cfg.slot ? document.getElementById(cfg.slot) : null;
function build() {
    var list = document.createElement('ul');
    list.className = 'widget widget-' + cfg.name;
    for (var n = 0; n < cfg.build; n++) {
        var item = document.createElement('li');
        item.className = 'widget-item';
        var link = document.createElement('a');
        link.href = '#' + cfg.name + '-' + n;
        link.textContent = (parsed[n % Math.max(parsed.length, 1)] || { label: 'item' }).label + ' ' + n;
        item.appendChild(link);
        if (n < cfg.images.length) {
            var picture = document.createElement('img');
            picture.src = cfg.images[n];
            picture.width = 96;
            picture.height = 64;
            picture.alt = '';
            item.appendChild(picture);
        }
        list.appendChild(item);
    }
    slot.appendChild(list);
}
if (slot) {
    build();
} else if (cfg.slot && document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', function () {
        slot = document.getElementById(cfg.slot);
        if (slot) build();
    });
}

// Data the widget shows once it arrives.
cfg.fetches.forEach(function (address) {
    fetch(address, { credentials: 'include' })
        .then(function (response) { return response.json(); })
        .then(function (data) {
            if (!slot) return;
            var note = document.createElement('p');
            note.className = 'widget-note';
            note.textContent = (data.items || []).length + ' ' + (data.title || '');
            slot.appendChild(note);
        })
        .catch(function () {});
});

// Listeners every site keeps, idle while nobody scrolls.
window.addEventListener('scroll', function () { sum++; }, { passive: true });
window.addEventListener('resize', function () { sum--; });
window['__site_' + cfg.name] = { ready: Date.now() - started, sum: sum };
