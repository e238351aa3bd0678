// The site's own scripts (indexer/site/*.js) run in node, without a
// browser: what they give window.velmor, with data files served from
// memory in place of the <script> tags a page would load.
import fs from 'node:fs';

// formats.js, which the indexer makes from its constants: the file that
// the program velmor_format_script wrote (ctest names it in
// VELMOR_FORMATS_JS), loaded before any other script as a page does.
// Without it the scripts load, but any use of a file name, callback or
// digit fails (the search box's matcher, fuzzed alone, needs none).
function formatsScript() {
  const file = process.env.VELMOR_FORMATS_JS;
  return file ? fs.readFileSync(file, 'utf8') : '';
}

// `files` maps a data file's name (lookup/keys.js) to what it passes to
// its callback; a file not there fails as a missing one does in a page.
// `site` is the folder of the scripts (a URL), the site's own by default;
// `dataset` what their <script> tags carry (text_store.js's perFolder).
export function siteScripts(names, files = {}, site = new URL('../../site/', import.meta.url), dataset = {}) {
  return siteWindow(names, files, site, dataset).velmor;
}

// The same, the whole window: velmorStore (text_store.js) as well.
export function siteWindow(names, files = {}, site = new URL('../../site/', import.meta.url), dataset = {}) {
  const document = { addEventListener() {}, querySelectorAll: () => [], currentScript: { dataset } };
  const window = {};
  new Function('window', formatsScript())(window);
  for (const name of ['velmor.js', ...names]) {
    const code = fs.readFileSync(new URL(name, site), 'utf8');
    new Function('window', 'document', code)(window, document);
    if (name === 'velmor.js') {
      window.velmor.load = async file => {
        if (!(file in files)) throw new Error('missing ' + file);
        return files[file];
      };
    }
  }
  return window;
}

// The look-up data of lookup/ for rows [search key, key, form, rank,
// count], sorted as the indexer sorts them, `per` rows a shard.
export function lookupFiles(rows, per, cmp) {
  const sorted = rows.slice().sort((a, b) => cmp(a[0], b[0]) || a[3] - b[3]);
  const files = { 'lookup/keys.js': [] };
  for (let n = 0; n * per < sorted.length; n++) {
    const part = sorted.slice(n * per, (n + 1) * per);
    files['lookup/keys.js'].push(part[0][0]);
    files['lookup/k_' + String(n).padStart(4, '0') + '.js'] = part.map(r => r.join('\t') + '\n').join('');
  }
  return files;
}
