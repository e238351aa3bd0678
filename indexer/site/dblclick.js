// Double-click any word of any page: open its entry. In stored text (a
// document page) the word is the index's own, found in the text store's
// words by where the pointer is; elsewhere (a heading, a list, a line of
// an entry) it is what the browser selected, looked up by its key.
'use strict';
(function () {
  const { wordAt, rankHref, lookup, fold, toast, RANK } = window.velmor;

  // The text node and offset under a point of the window, or null.
  function pointAt(x, y) {
    if (document.caretPositionFromPoint) {
      const p = document.caretPositionFromPoint(x, y);
      return p ? [p.offsetNode, p.offset] : null;
    }
    const r = document.caretRangeFromPoint && document.caretRangeFromPoint(x, y);
    return r ? [r.startContainer, r.startOffset] : null;
  }
  // The offset in the whole text of `root` of `offset` in its text node `node`.
  function textOffset(root, node, offset) {
    const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
    let before = 0;
    for (let n; (n = walker.nextNode()) && n !== node;) before += n.data.length;
    return before + offset;
  }

  document.addEventListener('dblclick', async e => {
    if (e.target.closest && e.target.closest('header, input, button')) return;
    const sel = window.getSelection();
    if (!sel.rangeCount) return;
    const node = sel.getRangeAt(0).startContainer;
    if (node.nodeType !== Node.TEXT_NODE) return;
    // Text cut from a stored document says where it stands there: an
    // element with data-n (the document's number) and data-o (the text
    // offset of its first character), as the document page's text is.
    const host = node.parentElement && node.parentElement.closest('[data-n][data-o]');
    if (host && window.velmorStore) {
      // Where the pointer is: the browser's own selection may hold more
      // than one of the index's words ("l'" and "homme").
      const at = pointAt(e.clientX, e.clientY);
      if (!at || !host.contains(at[0])) return;
      const words = await window.velmorStore.load(Number(host.dataset.n));
      const i = wordAt(Number(host.dataset.o) + textOffset(host, at[0], at[1]), words);
      if (i >= 0) location.href = await rankHref(words.tokens[3 * i + 2]);
      return;
    }
    const word = sel.toString().trim();
    if (!word) return;
    const row = await lookup(fold(word));
    if (row) location.href = await rankHref(row[RANK]);
    else toast('\u201c' + word + '\u201d is not in the index');
  });
})();
