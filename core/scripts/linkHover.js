// Tells the status line which link the pointer is over: the link's absolute address on entering
// anything inside it, the empty string on entering anything else and on leaving. Runs at document
// end in every frame.
(function () {
    var handler = null;
    try {
        handler = window.webkit.messageHandlers.status;
    } catch (e) {}

    function send(text) {
        try {
            (handler || window.webkit.messageHandlers.status).postMessage(text);
        } catch (e) {}
    }

    document.addEventListener('mouseover', function (event) {
        var address = '';
        try {
            var target = event.target;
            var link = target && typeof target.closest === 'function' ? target.closest('a') : null;
            if (link && typeof link.href === 'string' && link.href) address = link.href;
        } catch (e) {}
        send(address);
    }, true);
    document.addEventListener('mouseout', function () { send(''); }, true);
})();
