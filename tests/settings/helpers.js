// Walks a page in declaration order and names what it finds.

function collect(item, kind, out) {
    if (!item)
        return out
    if (item.settingsKind === kind) {
        // A row made of a row (the hotkey row) counts once.
        out.push(item)
        return out
    }
    const children = item.children || []
    for (let i = 0; i < children.length; ++i)
        collect(children[i], kind, out)
    return out
}

function cardTitles(page) {
    return collect(page, "card", []).map(card => card.title)
}

function rowTitles(card) {
    return collect(card, "row", []).filter(row => row.visible).map(row => row.title)
}

function findCard(page, title) {
    return collect(page, "card", []).find(card => card.title === title)
}

function findNamed(item, name) {
    if (!item)
        return null
    if (item.objectName === name)
        return item
    const children = item.children || []
    for (let i = 0; i < children.length; ++i) {
        const found = findNamed(children[i], name)
        if (found)
            return found
    }
    return null
}
