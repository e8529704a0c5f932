// sample.js - fetches a list and renders it.
'use strict';

/* A block comment with a fake string: "not closed
   and a // line comment marker inside. */
const API_URL = 'https://example.com/api/items?limit=10';
const TIMEOUT_MS = 5_000, RETRIES = 0x3, MASK = 0b1111, BIG = 12345678901234567890n;
const ratio = 1.5e-3;

/**
 * Renders one item.
 * @param {object} item
 */
function render(item) {
    const title = item.title.replace(/&/g, '&amp;');
    return `<li data-id="${item.id}">
  ${title} \`quoted\` text
</li>`;
}

class ItemList {
    #items = [];

    constructor(root) {
        this.root = root;
    }

    async load() {
        for (let attempt = 0; attempt <= RETRIES; attempt++) {
            try {
                const response = await fetch(API_URL, { signal: AbortSignal.timeout(TIMEOUT_MS) });
                this.#items = await response.json();
                return true;
            } catch (err) {
                console.warn("attempt " + attempt + " failed: \"" + err.message + '"');
            }
        }
        return false;
    }

    show() {
        this.root.innerHTML = this.#items.map(render).join('\n');
    }
}

const escaped = 'it\'s a \\ backslash';
const longLine = "first part \
continued on the next line";
export default ItemList;
export { escaped, longLine, MASK, BIG, ratio };
