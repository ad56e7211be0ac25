// Local storage that is forgotten with the page. It runs at document start in every frame, before
// any script of the page, and puts an in-memory stand-in for window.localStorage in place: the page
// reads and writes it as usual, items are properties of it as on the real object, and nothing
// reaches the browser's persistent storage. window.__nimb.forgot tells the recorder it happened.
(function () {
    if (!/^https?:$/.test(location.protocol)) return;

    var mem = Object.create(null);
    var order = [];
    var get = Reflect.get;
    var has = Reflect.has;

    function stored(name) {
        return typeof name !== 'symbol' && name in mem;
    }

    var api = {
        getItem: function (k) {
            k = String(k);
            return stored(k) ? mem[k] : null;
        },
        setItem: function (k, v) {
            k = String(k);
            v = String(v);
            if (!stored(k)) order.push(k);
            mem[k] = v;
        },
        removeItem: function (k) {
            k = String(k);
            if (!stored(k)) return;
            delete mem[k];
            order.splice(order.indexOf(k), 1);
        },
        clear: function () {
            mem = Object.create(null);
            order = [];
        },
        key: function (i) {
            i = Math.trunc(Number(i));
            if (isNaN(i) || i === 0) i = 0;
            return i >= 0 && i < order.length ? order[i] : null;
        }
    };
    try {
        if (typeof Storage === 'function') Object.setPrototypeOf(api, Storage.prototype);
    } catch (e) {}

    var shim = new Proxy(api, {
        get: function (target, name) {
            if (typeof name === 'symbol') return get(api, name);
            if (name === 'length') return order.length;
            if (stored(name)) return mem[name];
            return get(api, name);
        },
        set: function (target, name, value) {
            if (typeof name === 'symbol' || name === 'length') return true;
            api.setItem(name, value);
            return true;
        },
        has: function (target, name) {
            if (typeof name !== 'symbol' && (name === 'length' || stored(name))) return true;
            return has(api, name);
        },
        deleteProperty: function (target, name) {
            if (typeof name !== 'symbol') api.removeItem(name);
            return true;
        },
        ownKeys: function () {
            return order.slice();
        },
        getOwnPropertyDescriptor: function (target, name) {
            if (!stored(name)) return undefined;
            return {value: mem[name], writable: true, enumerable: true, configurable: true};
        }
    });

    try {
        Object.defineProperty(window, 'localStorage',
                              {value: shim, configurable: true, enumerable: true, writable: false});
    } catch (e) {
        return;
    }
    window.__nimb = window.__nimb || {};
    window.__nimb.forgot = true;
})();
