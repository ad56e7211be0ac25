// The text the user selected: in the page itself, else in the first frame of the page that has a
// selection and lets us read it. Run on demand as the body of an asynchronous function.
function selected(w) {
    var s = w.getSelection();
    return s ? String(s) : '';
}

var text = '';
try {
    text = selected(window);
} catch (e) {}
if (!text.trim()) {
    for (var i = 0; i < window.frames.length; i++) {
        try {
            var inFrame = selected(window.frames[i]);
            if (inFrame.trim()) {
                text = inFrame;
                break;
            }
        } catch (e) {}
    }
}
return text;
