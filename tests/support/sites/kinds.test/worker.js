var which = location.search.slice(1);
fetch('http://worker-fetch.' + (which === 'listed' ? 'doubleclick.net' : 'elsewhere.example') + '/k').catch(function () {});
