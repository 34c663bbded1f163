// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/live/dom_script.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

namespace kestrova::live {

namespace {

QString operationKey(DomOperation operation) {
    switch (operation) {
        case DomOperation::Exists:
            return QStringLiteral("exists");
        case DomOperation::Count:
            return QStringLiteral("count");
        case DomOperation::FrameCount:
            return QStringLiteral("frameCount");
        case DomOperation::Url:
            return QStringLiteral("url");
        case DomOperation::TagName:
            return QStringLiteral("tagName");
        case DomOperation::Value:
            return QStringLiteral("value");
        case DomOperation::SetValue:
            return QStringLiteral("setValue");
        case DomOperation::Click:
            return QStringLiteral("click");
        case DomOperation::InnerText:
            return QStringLiteral("innerText");
        case DomOperation::InnerHTML:
            return QStringLiteral("innerHTML");
        case DomOperation::OuterHTML:
            return QStringLiteral("outerHTML");
        case DomOperation::ChildCount:
            return QStringLiteral("childCount");
        case DomOperation::RowCount:
            return QStringLiteral("rowCount");
        case DomOperation::CellCount:
            return QStringLiteral("cellCount");
        case DomOperation::Attribute:
            return QStringLiteral("attribute");
    }
    return {};
}

QString stepKey(ElementStep::Kind kind) {
    switch (kind) {
        case ElementStep::Kind::Id:
            return QStringLiteral("id");
        case ElementStep::Kind::Name:
            return QStringLiteral("name");
        case ElementStep::Kind::TagName:
            return QStringLiteral("tag");
        case ElementStep::Kind::DocumentElement:
            return QStringLiteral("root");
        case ElementStep::Kind::Child:
            return QStringLiteral("child");
        case ElementStep::Kind::Row:
            return QStringLiteral("row");
        case ElementStep::Kind::Cell:
            return QStringLiteral("cell");
    }
    return {};
}

// Runs in the top frame of the application's own script world, so page scripts cannot
// change the DOM functions it calls. The call's arguments come in as a JSON literal, never
// spliced into the code.
const char kDomCallFunction[] = R"JS((function (call) {
  'use strict';
  function ok(value) { return { ok: true, value: value }; }
  function tagOf(el) { return String(el.tagName).toUpperCase(); }
  // Worded as the in-memory document words them.
  function notTable(el) { return { ok: false, failure: 'The ' + tagOf(el) + ' element is not a table: it has no rows' }; }
  function notRow(el) { return { ok: false, failure: 'The ' + tagOf(el) + ' element is not a table row: it has no cells' }; }
  function valueOf(el) {
    var tag = tagOf(el);
    if (tag === 'A' || tag === 'AREA') {
      return typeof el.href === 'string' ? el.href : (el.getAttribute('href') || '');
    }
    if ('value' in el && el.value !== undefined && el.value !== null) { return String(el.value); }
    var attribute = el.getAttribute('value');
    return attribute === null ? '' : attribute;
  }
  function setValue(el, value) {
    var tag = tagOf(el);
    if (tag === 'A' || tag === 'AREA') { el.setAttribute('href', value); }
    else if ('value' in el) { el.value = value; }
    else { el.setAttribute('value', value); }
  }
  function click(el, win) {
    if (typeof el.click === 'function') { el.click(); return; }
    el.dispatchEvent(new win.MouseEvent('click', { bubbles: true, cancelable: true, view: win }));
  }
  try {
    var win = window;
    var lastFrame = call.frame.length - 1;
    for (var n = 0; n < call.frame.length; ++n) {
      var index = call.frame[n];
      var inner = (index >= 0 && index < win.frames.length) ? win.frames[index] : null;
      if (!inner) {
        if (call.op === 'exists' && call.steps.length === 0 && n === lastFrame) { return ok(false); }
        return { ok: false, missing: 'frame', at: n };
      }
      win = inner;
    }
    var doc = null;
    try { doc = win.document; } catch (e) { doc = null; }
    if (!doc) { return { ok: false, error: 'its document belongs to another site' }; }
    if (call.steps.length === 0) {
      switch (call.op) {
        case 'exists': return ok(true);
        case 'frameCount': return ok(win.frames.length);
        case 'url': return ok(String(doc.URL));
      }
      return { ok: false, error: 'it needs an element' };
    }
    if (call.op === 'count') {
      var first = call.steps[0];
      if (call.steps.length !== 1 || (first.kind !== 'name' && first.kind !== 'tag')) {
        return { ok: false, error: 'it is not a collection' };
      }
      var list = first.kind === 'name' ? doc.getElementsByName(first.key) : doc.getElementsByTagName(first.key);
      return ok(list.length);
    }
    var el = null;
    for (var k = 0; k < call.steps.length; ++k) {
      var step = call.steps[k];
      var found = null;
      switch (step.kind) {
        case 'id': found = doc.getElementById(step.key); break;
        case 'name': found = doc.getElementsByName(step.key)[step.index] || null; break;
        case 'tag': found = doc.getElementsByTagName(step.key)[step.index] || null; break;
        case 'root': found = doc.documentElement; break;
        case 'child': found = el.children[step.index] || null; break;
        case 'row':
          if (!el.rows) { return notTable(el); }
          found = el.rows[step.index] || null;
          break;
        case 'cell':
          if (!el.cells) { return notRow(el); }
          found = el.cells[step.index] || null;
          break;
      }
      if (!found) {
        if (call.op === 'exists' && k === call.steps.length - 1) { return ok(false); }
        return { ok: false, missing: 'element', at: k };
      }
      el = found;
    }
    switch (call.op) {
      case 'exists': return ok(true);
      case 'tagName': return ok(tagOf(el));
      case 'value': return ok(valueOf(el));
      case 'setValue': setValue(el, call.arg); return ok(true);
      case 'click': click(el, win); return ok(true);
      case 'innerText': return ok(String(el.innerText === undefined ? el.textContent : el.innerText));
      case 'innerHTML': return ok(String(el.innerHTML));
      case 'outerHTML': return ok(String(el.outerHTML));
      case 'childCount': return ok(el.children.length);
      case 'rowCount': return el.rows ? ok(el.rows.length) : notTable(el);
      case 'cellCount': return el.cells ? ok(el.cells.length) : notRow(el);
      case 'attribute':
        var attribute = el.getAttribute(call.arg);
        return ok(attribute === null ? '' : attribute);
    }
    return { ok: false, error: 'it is not an element operation' };
  } catch (e) {
    return { ok: false, error: 'the page raised ' + String(e && e.message ? e.message : e) };
  }
}))JS";

const char kCompletionFunction[] = R"JS((function (marker) {
  'use strict';
  function framePath() {
    var path = [];
    var win = window;
    while (win !== win.parent) {
      var parent = win.parent;
      var index = -1;
      for (var i = 0; i < parent.frames.length; ++i) {
        if (parent.frames[i] === win) { index = i; break; }
      }
      if (index < 0) { return null; }
      path.unshift(index);
      win = parent;
    }
    return path;
  }
  function report() {
    var path = null;
    try { path = framePath(); } catch (e) { path = null; }
    if (path === null) { return; }
    console.log(marker + JSON.stringify({ path: path, url: String(document.URL) }));
  }
  // The load event of a document comes after those of its frames: children report first.
  if (document.readyState === 'complete') { report(); }
  else { window.addEventListener('load', report, { once: true }); }
}))JS";

QString jsonLiteral(const QJsonValue& value) {
    QJsonArray wrapper{value};
    const QByteArray text = QJsonDocument(wrapper).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

}  // namespace

QString domCallScript(const DomCall& call) {
    QJsonArray frame;
    for (int index : call.frame) {
        frame.append(index);
    }
    QJsonArray steps;
    for (const ElementStep& step : call.element) {
        steps.append(QJsonObject{{QStringLiteral("kind"), stepKey(step.kind)},
                                 {QStringLiteral("key"), step.key},
                                 {QStringLiteral("index"), step.index}});
    }
    const QJsonObject arguments{{QStringLiteral("frame"), frame},
                                {QStringLiteral("steps"), steps},
                                {QStringLiteral("op"), operationKey(call.operation)},
                                {QStringLiteral("arg"), call.argument}};
    return QString::fromLatin1(kDomCallFunction) + u'(' + jsonLiteral(arguments) + u')';
}

QVariant readAnswer(const QVariant& answer, const DomCall& call) {
    const QVariantMap map = answer.toMap();
    if (!answer.isValid() || map.isEmpty()) {
        throw failedCall(call, QStringLiteral("the page gave no answer (it may have been "
                                              "replaced meanwhile)"));
    }
    if (map.value(QStringLiteral("ok")).toBool()) {
        return map.value(QStringLiteral("value"));
    }
    const QString missing = map.value(QStringLiteral("missing")).toString();
    const int at = map.value(QStringLiteral("at")).toInt();
    if (missing == u"frame" && at >= 0 && at < int(call.frame.size())) {
        throw missingFrame(call.frame, std::size_t(at));
    }
    if (missing == u"element" && at >= 0 && at < int(call.element.size())) {
        throw missingElement(call, std::size_t(at));
    }
    const QString failure = map.value(QStringLiteral("failure")).toString();
    if (!failure.isEmpty()) {
        throw Failure(failure);
    }
    const QString error = map.value(QStringLiteral("error")).toString();
    throw failedCall(call, error.isEmpty() ? QStringLiteral("the page refused it") : error);
}

QString completionScript(const QString& marker) {
    return QString::fromLatin1(kCompletionFunction) + u'(' + jsonLiteral(marker) + u");";
}

std::optional<CompletionReport> readCompletion(const QString& message, const QString& marker) {
    if (marker.isEmpty() || !message.startsWith(marker)) {
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(message.mid(marker.size()).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !json.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = json.object();
    const QJsonValue path = object.value(QStringLiteral("path"));
    const QJsonValue url = object.value(QStringLiteral("url"));
    if (!path.isArray() || !url.isString()) {
        return std::nullopt;
    }
    CompletionReport report;
    const QJsonArray indices = path.toArray();
    for (const auto& index : indices) {
        if (!index.isDouble() || index.toDouble() < 0 || index.toDouble() != index.toInt()) {
            return std::nullopt;
        }
        report.path.push_back(index.toInt());
    }
    report.url = QUrl(url.toString());
    return report;
}

}  // namespace kestrova::live
