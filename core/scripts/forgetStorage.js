// Local storage that is forgotten with the page. It runs at document start in every frame, before
// any script of the page, and puts an in-memory stand-in for window.localStorage in place: the page
// reads and writes it as usual, and nothing reaches the browser's persistent storage.
// window.__nimb.forgot tells the recorder it happened.
//
// As on the real object, an item is a property of it only while nothing on the prototype chain
// has its name: key, getItem, toString, __proto__ and the rest always win, so that the page's own
// calls and the recorder's reach the methods whatever the page stored. Assignments and
// definitions store an item all the same, and getItem, key and length read every item.
(function () {
    if (!/^https?:$/.test(location.protocol)) return;

    var mem = Object.create(null);
    var order = [];
    var get = Reflect.get;
    var has = Reflect.has;
    var put = Reflect.set;
    var hasOwn = Object.hasOwn;

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

    // An item the page reads, owns and deletes as a property.
    function visible(name) {
        return stored(name) && !has(api, name);
    }

    var shim = new Proxy(api, {
        get: function (target, name) {
            if (name === 'length') return order.length;
            return visible(name) ? mem[name] : get(api, name);
        },
        // The chain's own setters and read-only members first (__proto__, length), as on the real
        // object; anything else comes to defineProperty below and is stored.
        set: function (target, name, value, receiver) {
            return typeof name === 'symbol' || put(api, name, value, receiver);
        },
        has: function (target, name) {
            return name === 'length' || stored(name) || has(api, name);
        },
        deleteProperty: function (target, name) {
            if (visible(name)) api.removeItem(name);
            return true;
        },
        // A value becomes an item. The real object takes a non-configurable one too, which a
        // stand-in cannot claim to have taken.
        defineProperty: function (target, name, desc) {
            if (typeof name === 'symbol' || !hasOwn(desc, 'value')) return false;
            if (hasOwn(desc, 'configurable') && !desc.configurable) return false;
            api.setItem(name, desc.value);
            return true;
        },
        // Every item by name, as the real object lists them, but owned only when visible: Object.keys,
        // which asks for each one's descriptor, leaves out the rest, where the real object does not.
        ownKeys: function () {
            return order.slice();
        },
        getOwnPropertyDescriptor: function (target, name) {
            if (!visible(name)) return undefined;
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
