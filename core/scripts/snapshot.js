// The collector: the report payload of the page, as one JSON text, or null when nothing in the
// page records it.
(function () {
    var nimb = window.__nimb;
    if (!nimb) return null;
    var walls = {count: 0, items: []};
    var network = null;
    try {
        if (typeof nimb.walls === 'function') walls = nimb.walls();
    } catch (e) {}
    try {
        if (typeof nimb.network === 'function') network = nimb.network();
    } catch (e) {}
    return JSON.stringify({walls: walls, network: network});
})();
