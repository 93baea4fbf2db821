#include "browsers/ResultBrowserMap.h"

#include <QThreadPool>
#include <QWidget>

#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"

CResultBrowserMap::CResultBrowserMap()
    : m_ownWorkers(std::make_unique<QThreadPool>())
    , m_workers(m_ownWorkers.get())
{
}

CResultBrowserMap::CResultBrowserMap(QThreadPool &workers)
    : m_workers(&workers)
{
}

CResultBrowserMap::~CResultBrowserMap()
{
    // Each page waits for its own workers as it is destroyed; they only copy
    // texts and post, so this never waits for a page to load. The map's own
    // pool then ends its idle threads.
    Walk([](CResultBrowser *page) {
        if (page->GetBusy())
            page->Stop();
        delete page;
    });
}

void CResultBrowserMap::SetParentWnd(QWidget *parent)
{
    m_pParentWnd = parent;
}

unsigned CResultBrowserMap::BucketOf(int index)
{
    return (static_cast<quint32>(index) >> 4) % BucketCount;
}

CResultBrowserMap::Entry *CResultBrowserMap::Find(int index) const
{
    if (!m_buckets)
        return nullptr;
    for (Entry *entry = (*m_buckets)[BucketOf(index)]; entry; entry = entry->next) {
        if (entry->key == index)
            return entry;
    }
    return nullptr;
}

CResultBrowserMap::Entry *CResultBrowserMap::NewEntry()
{
    if (m_usedInLastBlock == EntriesPerBlock) {
        m_blocks.push_back(std::make_unique<Entry[]>(EntriesPerBlock));
        m_usedInLastBlock = 0;
    }
    return &m_blocks.back()[m_usedInLastBlock++];
}

template <typename Visit>
void CResultBrowserMap::Walk(Visit visit) const
{
    if (!m_buckets)
        return;
    for (Entry *head : *m_buckets) {
        for (Entry *entry = head; entry; entry = entry->next) {
            if (CResultBrowser *page = entry->page.data())
                visit(page);
        }
    }
}

CResultBrowser *CResultBrowserMap::CreateBrowser(int index)
{
    auto *page = new CResultBrowser(m_pParentWnd);
    // The index is known while the control is made, so that the control can
    // tell which page it serves; it stays only if creation succeeds.
    page->m_nEngine = index;
    if (page->Create(m_pParentWnd, QRect(0, 0, 0, 0)))
        return page;
    page->m_nEngine = -1;
    delete page;
    AfxMessageBox(QStringLiteral("failed to create browser\n"), MB_OK);
    return nullptr;
}

CResultBrowser *CResultBrowserMap::GetBrowser(int index)
{
    if (Entry *entry = Find(index))
        return entry->page.data();

    CResultBrowser *page = CreateBrowser(index);
    if (!m_buckets) {
        m_buckets = std::make_unique<std::array<Entry *, BucketCount>>();
        m_buckets->fill(nullptr);
    }
    Entry *entry = NewEntry();
    entry->bucket = BucketOf(index);
    entry->key = index;
    entry->page = page;
    entry->next = (*m_buckets)[entry->bucket];
    (*m_buckets)[entry->bucket] = entry;
    return page;
}

void CResultBrowserMap::SearchAll(const QString &keywords, const QSet<int> &notAsked)
{
    CWaitCursor waitCursor;
    Walk([this, &keywords, &notAsked](CResultBrowser *page) {
        if (!page->m_bActive || notAsked.contains(page->m_nEngine))
            return;
        page->SetKeywords(keywords);
        page->StartQuery(*m_workers);
    });
}

void CResultBrowserMap::StopAll()
{
    Walk([](CResultBrowser *page) {
        if (!page->m_bActive)
            return;
        page->CancelQuery();
        if (page->GetBusy())
            page->Stop();
    });
}

void CResultBrowserMap::BlankAll()
{
    Walk([](CResultBrowser *page) {
        if (page->m_bActive)
            page->NavigateTo(QStringLiteral("about:blank"));
    });
}

void CResultBrowserMap::DeactivateAll()
{
    Walk([](CResultBrowser *page) {
        if (!page->m_bActive)
            return;
        page->SetQueryTemplate(QString());
        page->SetKeywords(QString());
        page->m_bActive = false;
        page->NavigateTo(QStringLiteral("about:blank"));
    });
}

void CResultBrowserMap::MoveAll(const QRect &rect)
{
    Walk([&rect](CResultBrowser *page) { page->setGeometry(rect); });
}

bool CResultBrowserMap::IsAnyBusy() const
{
    bool busy = false;
    Walk([&busy](CResultBrowser *page) {
        if (!busy && page->m_bActive && (page->IsQueryPending() || page->GetBusy()))
            busy = true;
    });
    return busy;
}

QList<CResultBrowser *> CResultBrowserMap::Pages() const
{
    QList<CResultBrowser *> pages;
    Walk([&pages](CResultBrowser *page) { pages.append(page); });
    return pages;
}
