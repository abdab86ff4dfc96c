#include "site/site_model.h"

namespace zanfor::site {

std::string_view SiteStylesheet() {
    return R"css(body { font-family: "Noto Sans CJK JP", "Yu Gothic", "Meiryo", sans-serif;
  margin: 0 1.5em 2em; color: #222; background: #fff; line-height: 1.5; }
header { border-bottom: 2px solid #345; margin-bottom: 1em; }
.fileline { margin: .4em 0 0; color: #555; font-size: .9em; }
nav { position: relative; margin: .3em 0; }
nav a { margin-right: 1em; }
#search { width: 28em; max-width: 90%; padding: .25em .4em; font-size: 1em; }
#hits { position: absolute; z-index: 10; background: #fff; border: 1px solid #999;
  list-style: none; margin: 0; padding: 0; max-height: 60vh; overflow: auto; min-width: 28em; }
#hits:empty { display: none; }
#hits li { padding: .15em .5em; border-bottom: 1px solid #eee; }
#hits .context { color: #777; font-size: .85em; margin-left: .5em; }
h1 { font-size: 1.5em; margin: .3em 0; }
h1 .kind { font-size: .7em; color: #fff; background: #345; padding: .1em .5em; border-radius: 3px;
  vertical-align: middle; }
h2 { font-size: 1.2em; border-left: 5px solid #345; padding-left: .4em; margin-top: 1.6em; }
h3 { font-size: 1em; margin: 1em 0 .2em; }
h3 .type, .place { color: #666; font-weight: normal; font-size: .9em; }
table { border-collapse: collapse; margin: .4em 0; }
th, td { border: 1px solid #bbb; padding: .15em .5em; text-align: left; vertical-align: top;
  white-space: pre-wrap; }
th { background: #e8edf2; }
tr.tab th { background: #f3f3f3; font-weight: normal; color: #345; }
td.number { text-align: right; }
dl.info { display: grid; grid-template-columns: max-content 1fr; gap: .1em 1em; }
dl.info dt { font-weight: bold; color: #345; }
dl.info dd { margin: 0; white-space: pre-wrap; word-break: break-all; }
pre { background: #f7f7f7; border: 1px solid #ddd; padding: .5em; overflow-x: auto;
  font-family: "Noto Sans Mono CJK JP", monospace; font-size: .9em; }
pre.code .line { display: inline; }
pre.code .ln { display: inline-block; width: 4em; color: #999; text-align: right;
  margin-right: 1em; text-decoration: none; user-select: none; }
pre.code .line:target { background: #fff3b0; }
.k { color: #00f; }
.s { color: #a31515; }
.n { color: #267f99; }
.c { color: #008000; }
.missing { color: #b00; text-decoration: line-through; }
.none { color: #777; }
.diagram svg { max-width: 100%; height: auto; }
figure { margin: .5em 0; }
figure img { max-width: 100%; border: 1px solid #ccc; }
@media print {
  nav, #search, #hits { display: none; }
  body { margin: 0; color: #000; background: #fff; }
  a { color: #000; text-decoration: none; }
  h1 .kind { color: #000; background: none; border: 1px solid #000; }
  h2, h3 { page-break-after: avoid; break-after: avoid; }
  table, figure, .diagram, section.control { page-break-inside: avoid; break-inside: avoid; }
  pre { white-space: pre-wrap; border: none; background: none; }
  .k, .s, .n, .c { color: #000; }
  .k { font-weight: bold; }
  .c { font-style: italic; }
}
)css";
}

std::string_view SiteScript() {
    return R"js((function () {
  "use strict";
  var entries = window.ZANFOR_SEARCH || [];
  var limit = 200;
  function fold(text) {
    return String(text).normalize("NFKC").toLowerCase();
  }
  var folded = entries.map(function (e) { return fold(e[1]); });
  function show(query) {
    var hits = document.getElementById("hits");
    while (hits.firstChild) hits.removeChild(hits.firstChild);
    var q = fold(query.trim());
    if (!q) return;
    var count = 0;
    for (var i = 0; i < entries.length && count < limit; i++) {
      if (folded[i].indexOf(q) < 0) continue;
      var e = entries[i];
      var li = document.createElement("li");
      var a = document.createElement("a");
      a.className = "hit";
      a.href = e[2];
      a.textContent = e[0] + ": " + e[1];
      li.appendChild(a);
      if (e[3]) {
        var context = document.createElement("span");
        context.className = "context";
        context.textContent = e[3];
        li.appendChild(context);
      }
      hits.appendChild(li);
      count++;
    }
  }
  function fromLocation() {
    var match = /[#&]q=([^&]*)/.exec(window.location.hash);
    if (!match) return null;
    try {
      return decodeURIComponent(match[1].replace(/\+/g, " "));
    } catch (e) {
      return null;
    }
  }
  function start() {
    var box = document.getElementById("search");
    if (!box) return;
    box.addEventListener("input", function () { show(box.value); });
    box.addEventListener("keydown", function (event) {
      if (event.key === "Escape") { box.value = ""; show(""); }
    });
    function ask() {
      var asked = fromLocation();
      if (asked !== null) {
        box.value = asked;
        show(asked);
      }
    }
    window.addEventListener("hashchange", ask);
    ask();
  }
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", start);
  } else {
    start();
  }
})();
)js";
}

}  // namespace zanfor::site
