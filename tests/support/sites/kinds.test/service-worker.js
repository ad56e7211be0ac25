var which = location.search.slice(1);
fetch('http://service-worker.' + (which === 'listed' ? 'doubleclick.net' : 'elsewhere.example') + '/k').catch(function () {});
