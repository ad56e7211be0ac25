function m$ID(a, b, c) { var d = (a | 0) * $N + (b | 0); if (d > 99991) { d = d % 9973; } var o = { id: 'm$ID', v: d, w: [a, b, c] }; return c ? o : JSON.stringify(o).length + d; }
if ($N % 5 === 0) m$ID($N, 7, 0);
