// Tells the tab strip which icon the page declares: the icon link with the largest `sizes` (a
// scalable one beats every size, the first of equals wins), or the empty string when there is none.
// Runs at document end in the main frame and speaks again only when the choice changes.
(function () {
    var handler = null;
    try {
        handler = window.webkit.messageHandlers.favicon;
    } catch (e) {}
    var last = null;

    function score(link) {
        var sizes = String(link.getAttribute('sizes') || '').toLowerCase();
        if (sizes === 'any') return 1000000;
        return parseInt(sizes, 10) || 0;
    }

    function best() {
        var links = document.querySelectorAll('link[rel~="icon" i]');
        var top = -1;
        var chosen = null;
        for (var i = 0; i < links.length; i++) {
            var link = links[i];
            if (!link.getAttribute('href')) continue;
            var s = score(link);
            if (s > top) {
                top = s;
                chosen = link.href;
            }
        }
        return chosen;
    }

    function send() {
        var value = '';
        try {
            value = best() || '';
        } catch (e) {}
        if (value === last) return;
        last = value;
        try {
            (handler || window.webkit.messageHandlers.favicon).postMessage(value);
        } catch (e) {}
    }

    send();
    try {
        if (document.head) {
            new MutationObserver(function () { send(); })
                .observe(document.head, {childList: true, subtree: true, attributes: true});
        }
    } catch (e) {}
})();
