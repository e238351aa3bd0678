// What the steps of the browser test share: reporting a step, and the ways a
// reader moves about the site, bound to one page of the browser.
import fs from 'node:fs';
import assert from 'node:assert/strict';

export const step = name => console.log('ok - ' + name);

// The helpers for page; url(name) is the address of a file of the site.
export function helpers(page, url) {
  // The lines of the TSV that a save button gives.
  async function savedLines(button) {
    const download = page.waitForEvent('download');
    await page.click(button);
    return fs.readFileSync(await (await download).path(), 'utf8').split('\r\n');
  }
  // A word's link opens the entry of that word.
  async function opensItsEntry(link) {
    const form = await link.textContent();
    await link.click();
    await page.waitForURL(/i_\d+\.htm#r\d+$/);
    assert.equal(await page.locator('section:target h2').textContent(), form);
  }

  // A word's entry, opened from the search box's hit for what is typed.
  async function openBySearch(typed, form) {
    await page.goto(url('index.htm'));
    await page.fill('#q', typed);
    await page.click(`#hits a:has-text("${form}")`);
    await page.waitForURL(/i_\d+\.htm#r\d+$/);
  }

  // Double-clicking words on a document page.
  async function doubleClick(word, nth = 0) {
    const box = await page.evaluate(([word, nth]) => {
      const pre = document.getElementById('t');
      const walker = document.createTreeWalker(pre, NodeFilter.SHOW_TEXT);
      let seen = 0;
      for (let node; (node = walker.nextNode());) {
        for (let at = node.data.indexOf(word); at >= 0; at = node.data.indexOf(word, at + 1)) {
          if (seen++ < nth) continue;
          const range = document.createRange();
          range.setStart(node, at + 1);
          range.setEnd(node, at + 2);
          const r = range.getBoundingClientRect();
          return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
        }
      }
      return null;
    }, [word, nth]);
    assert.ok(box, 'found ' + word);
    await page.mouse.dblclick(box.x, box.y);
    await page.waitForURL(/i_\d+\.htm#r\d+$/);
    return page.locator('section:target');
  }

  // A document's page, opened from the list of documents.
  async function openDocument(name) {
    await page.goto(url('s_docs.htm'));
    await page.click(`main table a:has-text("${name}")`);
    await page.waitForSelector('#t[data-ready]');
  }
  return { savedLines, opensItsEntry, openBySearch, doubleClick, openDocument };
}
