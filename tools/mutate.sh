#!/usr/bin/env bash
# Breaks the program on purpose, one named fault at a time, and tells which
# tests catch each. Every fault is applied to a throw-away checkout of REV (a
# git worktree in /tmp), only the test programs that guard it are built there
# (ccache keeps that short after the first run) and ctest runs them; the
# file is put back before the next fault. A fault that no test notices is
# reported as SURVIVED; one whose text is no longer in the file, as
# NOT APPLIED.
#
# Usage: tools/mutate.sh [REV [FAULT...]]   REV defaults to HEAD; FAULT names
# pick faults of the table below (all by default). The report also goes to
# $QUAERIO_MUTATE_TREE/report.txt (default /tmp/quaerio-mutate).
set -uo pipefail
root="$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"
rev="$(git -C "$root" rev-parse "${1:-HEAD}")" || exit 2
shift $(( $# > 0 ? 1 : 0 ))
tree="${QUAERIO_MUTATE_TREE:-/tmp/quaerio-mutate}"

# name @@ file @@ text @@ replacement @@ tests (ctest names) -- "\n" in the
# text or replacement stands for a line break.
faults=$(cat <<'EOF'
query-escape@@browsers/ResultBrowser.cpp@@inQuery = EscapeKeywordsForQuery(converted(), utf8);@@inQuery = keywords;@@browsers_test workspace_test
query-path@@browsers/ResultBrowser.cpp@@} else if (i > pathStart) {@@} else if (false) {@@browsers_test workspace_test
history-case@@workspace/KeywordRecentList.cpp@@if (EqualIgnoringAsciiCase(@@if (false && EqualIgnoringAsciiCase(@@workspace_test
history-off@@workspace/KeywordHistory.cpp@@settings->Load();\n    if (!settings->m_bPreservedKeywords)@@settings->Load();\n    if (false)@@workspace_test
settings-flag@@preferences/AppSettings.cpp@@return value == 1 ? 1 : 0;@@return value != 0 ? 1 : 0;@@preferences_test
settings-unchanged@@preferences/AppSettings.cpp@@if (m_bChanged == 0)@@if (false)@@preferences_test
settings-count-range@@preferences/OtherSettingsPage.cpp@@value <= kMaxKeywordsCount@@value <= kMaxKeywordsCount + 1@@preferences_test
clear-browsing-data@@preferences/BrowsingData.cpp@@!= IDYES)@@== -1)@@preferences_test
busy-poll@@workspace/SearchRun.cpp@@if (m_browsers.IsAnyBusy()) {@@if (false) {@@workspace_test app_test
complete-soon@@workspace/SearchRun.cpp@@if (std::exchange(m_bCheckDue, true))@@if (true)@@workspace_test app_test
time-limit@@workspace/EngineProgress.cpp@@m_state = EState::TimedOut;@@return;@@workspace_test
engine-choice-key@@workspace/EngineChoice.cpp@@+ u':' + EntryPart(section)@@+ u':'@@workspace_test app_test
first-show@@workspace/QuaerioView.cpp@@first->NavigateTo(g_szFirstShowPath);@@first->NavigateTo(QString());@@workspace_test app_test
blank-keywords@@workspace/QuaerioView.cpp@@m_cboKeywords->currentText().trimmed();@@m_cboKeywords->currentText();@@workspace_test
tab-wrap@@workspace/KeyboardNavigation.cpp@@(current + step % count + count) % count@@qBound(0, current + step, count - 1)@@frame_test
tab-switch@@workspace/TabCtrl.cpp@@m_bNoSelection = false;\n        emit SelChange();\n    });\n    // Clicking@@m_bNoSelection = false;\n    });\n    // Clicking@@workspace_test frame_test app_test
tabs-scroll@@workspace/FormTemplate.cpp@@ctl.tabs->setUsesScrollButtons(true);@@ctl.tabs->setUsesScrollButtons(false);@@workspace_test
placement-screen@@frame/FramePlacement.cpp@@if (screen.intersects(rect))@@if (true)@@frame_test
placement-kept@@frame/FramePlacement.cpp@@if (GetAppSettings()->m_bPreservedPos == 0)\n        return;@@if (false)\n        return;@@frame_test
placement-max@@frame/FramePlacement.cpp@@WriteProfileInt(kSettings, kMax, maximised ? 1 : 0);@@WriteProfileInt(kSettings, kMax, 0);@@frame_test
status-platform@@frame/StatusBar.cpp@@PlatformServices().StatusTextShown(text);@@;@@frame_test
mnemonic@@res/Menus.cpp@@{u"S&etting...", ID_VIEW_SETTING}@@{u"&Setting...", ID_VIEW_SETTING}@@frame_test res_test
default-choice@@workspace/CatalogueLoader.cpp@@WriteProfileInt(kSettings, kLanguageKey, m_nCurLanguage);@@;@@app_test
missing-catalogue@@app/QuaerioApp.cpp@@if (!m_pCatalog->Exists() || QFileInfo(m_pCatalog->m_szPath).isDir()) {@@if (!m_pCatalog->Exists()) {@@app_test
request-category@@app/SearchRequest.cpp@@languageName = languageWithCategory(catalog, request.strCategory);@@;@@app_test
handover-answer@@app/SingleInstance.cpp@@outcome.eState == SRequestOutcome::EState::Done@@true@@app_test
wait-for-owner@@app/SingleInstance.cpp@@            if (startLimit.hasExpired())\n                return {EClaim::NoAnswer, {}};\n            break;@@            return {EClaim::NoAnswer, {}};@@app_test
handover-decode@@app/HandOverMessage.cpp@@object.size() != 4 || @@@@app_test
profile-batch@@platform/ProfileStore.cpp@@if (!m_bOutermost)\n        return;@@if (false)\n        return;@@platform_test workspace_test
command-router@@platform/CommandRouter.cpp@@if (target && target->Execute(id))\n            return true;@@if (target)\n            target->Execute(id);@@platform_test frame_test
catalogue-cut@@catalogue/TextCut.cpp@@text.at(length - 1).isHighSurrogate()@@false@@catalogue_test browsers_test
link-fallback@@platform/BrowserFallback.cpp@@        return false;\n    const QString scheme = url.scheme().toLower();\n    return scheme == QLatin1String("http") || scheme == QLatin1String("https");@@        return true;\n    return true;@@controls_test
keyword-limit@@workspace/KeywordHistory.cpp@@setMaxLength(kKeywordsLimit);@@setMaxLength(32767);@@workspace_test
printer-shared@@workspace/FormPrinter.cpp@@if (!m_printer)@@if (true)@@app_test
loading-recheck@@frame/MainFrame.cpp@@if (loading && !m_pCommandUpdateTimer->isActive())@@if (false)@@frame_test
update-coalesce@@frame/MainFrame.cpp@@m_pCommandUpdateTimer->start(0);@@UpdateCommandStates();@@frame_test
frame-keys@@frame/FrameKeyboard.cpp@@{Qt::CTRL | Qt::Key_Tab, ID_NEXT_TAB},@@@@frame_test app_webengine_test
announce-once@@frame/StatusAnnouncer.cpp@@if (!statusBar || text == m_strLast)@@if (!statusBar)@@frame_test
first-paint@@app/FirstPaint.cpp@@if (event->type() == QEvent::Paint && !m_fired)@@if (!m_fired)@@app_test
not-a-folder@@app/SingleInstance.cpp@@if (!S_ISDIR(info.st_mode))@@if (false)@@app_test app_process_test
xdg-default@@platform/BrowserFallback.cpp@@const QString xdgSettings = QStandardPaths::findExecutable(QStringLiteral("xdg-settings"));@@const QString xdgSettings;@@controls_test
animate-idle@@workspace/AnimateCtrl.cpp@@if (repeat == 0 || (from == to && repeat != -1)) {@@if (false) {@@workspace_test
history-free-slots@@workspace/HistoryComboBox.cpp@@if (!entry.isEmpty())\n            addItem(entry);@@addItem(entry);@@workspace_test
charset-reference@@catalogue/EngineEncoding.cpp@@QStringLiteral("&#%1;").arg(codePoint)@@QStringLiteral("?%1").arg(codePoint)@@catalogue_test browsers_test
tab-status@@workspace/QuaerioView.cpp@@        SetStatusText(location);@@        ;@@workspace_test frame_test
error-page-retry@@browsers/webengine/ErrorPage.cpp@@if (!text.linkText.isEmpty() && (scheme == u"http"@@if (false && (scheme == u"http"@@browsers_resultpage_webengine_test
busy-stop@@browsers/LoadTracker.cpp@@    const QUrl url = !m_loadingUrl.isEmpty() ? m_loadingUrl : m_engine.Url();\n    EndBusy();@@    const QUrl url = !m_loadingUrl.isEmpty() ? m_loadingUrl : m_engine.Url();@@browsers_test browsers_webengine_test
history-typed@@workspace/HistoryComboBox.cpp@@    setEditText(typed);@@    ;@@workspace_test
history-batch@@workspace/KeywordRecentList.cpp@@    const CProfileBatch batch;\n    DeleteProfileSection(m_strSectionName);@@    DeleteProfileSection(m_strSectionName);@@workspace_test
mail-link@@browsers/webengine/ResultWebPage.cpp@@if (url.scheme() == u"mailto" && type == NavigationTypeLinkClicked)@@if (false)@@browsers_resultpage_webengine_test
certificate-page@@browsers/webengine/WebEngineBrowserControl.cpp@@                                ? CertificateRefusedHeading()@@                                ? LoadFailedHeading()@@browsers_resultpage_webengine_test
tokenizer-cr@@catalogue/CatalogTokenizer.cpp@@ && m_text[end] != u'\r')@@)@@catalogue_test
tokenizer-crlf@@catalogue/CatalogTokenizer.cpp@@ ? 2 : 1;@@ ? 1 : 1;@@catalogue_test
page-wait@@browsers/ResultBrowser.cpp@@    m_workersDone.wait(lock, [this] { return m_nWorkers == 0; });@@@@browsers_test
page-icons@@browsers/webengine/ResultProfile.cpp@@AutoLoadIconsForPage, false@@AutoLoadIconsForPage, true@@browsers_resultpage_webengine_test
description-when-shown@@browsers/webengine/ResultWebPage.cpp@@    connect(this, &QWebEnginePage::visibleChanged@@    if (false) connect(this, &QWebEnginePage::visibleChanged@@app_webengine_test
EOF
)

if [[ ! -d "$tree/.git" && ! -f "$tree/.git" ]]; then
    git -C "$root" worktree add --detach "$tree" "$rev" >/dev/null || exit 2
else
    git -C "$tree" checkout --quiet --detach "$rev" || exit 2
fi
git -C "$tree" checkout --quiet -- .
build="$tree/build"
[[ -f "$build/CMakeCache.txt" ]] || cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null || exit 2
report="$tree/report.txt"
: >"$report"

while IFS= read -r line; do
    [[ -z "$line" ]] && continue
    name="${line%%@@*}"; rest="${line#*@@}"
    file="${rest%%@@*}"; rest="${rest#*@@}"
    from="${rest%%@@*}"; rest="${rest#*@@}"
    to="${rest%%@@*}"; tests="${rest#*@@}"
    if (( $# > 0 )) && [[ " $* " != *" $name "* ]]; then continue; fi
    from="${from//\\n/$'\n'}"; to="${to//\\n/$'\n'}"
    git -C "$tree" checkout --quiet -- "$file" 2>/dev/null
    if ! FROM="$from" TO="$to" perl -0pi -e '$n = s/\Q$ENV{FROM}\E/$ENV{TO}/; END { exit($n ? 0 : 1) }' "$tree/$file"; then
        verdict="NOT APPLIED"
    else
        targets="$tests"
        [[ " $tests " == *" app_process_test "* ]] && targets+=" quaerio_test_program"
        # shellcheck disable=SC2086
        if ! cmake --build "$build" -j2 --target $targets >"$tree/build-$name.log" 2>&1; then
            verdict="caught by the build"
        else
            regex="^($(tr ' ' '|' <<<"$tests"))\$"
            ctest --test-dir "$build" -R "$regex" -j2 --timeout 120 --output-on-failure >"$tree/ctest-$name.log" 2>&1
            failed=$(grep -oE '^\[  FAILED  \] [A-Za-z0-9_/]+\.[A-Za-z0-9_/]+' "$tree/ctest-$name.log" | awk '{print $4}' | sort -u | head -4 | paste -sd ' ')
            timedout=$(grep -oE '[a-z_]+ \.+\*\*\*Timeout' "$tree/ctest-$name.log" | awk '{print $1}' | paste -sd ' ')
            if [[ -n "$failed$timedout" ]]; then
                verdict="caught by ${failed}${timedout:+ (timed out: $timedout)}"
            elif grep -q 'tests failed' "$tree/ctest-$name.log" && ! grep -q '100% tests passed' "$tree/ctest-$name.log"; then
                verdict="caught by $(grep -oE '[0-9]+ - [a-z_]+ \(' "$tree/ctest-$name.log" | awk '{print $3}' | paste -sd ' ')"
            else
                verdict="SURVIVED"
            fi
        fi
    fi
    git -C "$tree" checkout --quiet -- "$file"
    printf '%-22s %s\n' "$name" "$verdict" | tee -a "$report"
done <<<"$faults"
