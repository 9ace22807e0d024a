#!/usr/bin/env python3
"""Writes bench/data/heavy_result_page.html, the heavy result page of the benchmarks.

One result page of the invented "Bluewren Local" directory as a large commercial site would
serve it: 35 listing cards built like those of samples/directory but richer (logos, badges,
ratings, opening hours, social links, action buttons), around them a mega menu, a location
menu, a footer link farm with hundreds of links, inline scripts, hidden templates, JSON blobs
in script tags and an SVG sprite. About 500 KB.

Capturing it gives 35 result lines. Templates sit in <template> elements, whose content is
not part of the document tree, so the capture never sees them. The first "NEXT »" link
(in the carousel) leads to a single listing and must be skipped; the pager's "NEXT »" link
points to "#".

Standard library only and deterministic: the same script always writes the same bytes.
Run from anywhere: python3 bench/make_heavy_page.py [output path]
"""

import json
import random
import sys
from pathlib import Path

SEED = 20240611
LISTING_COUNT = 35
NEXT = "NEXT \u00bb"

# Suburb, state, postcode, latitude, longitude, phone area code.
PLACES = [
    ("Sydney", "NSW", "2000", -33.8688, 151.2093, "02"),
    ("Surry Hills", "NSW", "2010", -33.8861, 151.2111, "02"),
    ("Parramatta", "NSW", "2150", -33.8150, 151.0011, "02"),
    ("Chatswood", "NSW", "2067", -33.7969, 151.1815, "02"),
    ("Newcastle", "NSW", "2300", -32.9283, 151.7817, "02"),
    ("Wollongong", "NSW", "2500", -34.4278, 150.8931, "02"),
    ("Penrith", "NSW", "2750", -33.7507, 150.6877, "02"),
    ("Melbourne", "VIC", "3000", -37.8136, 144.9631, "03"),
    ("Fitzroy", "VIC", "3065", -37.7982, 144.9784, "03"),
    ("St Kilda", "VIC", "3182", -37.8640, 144.9744, "03"),
    ("Geelong", "VIC", "3220", -38.1499, 144.3617, "03"),
    ("Ballarat Central", "VIC", "3350", -37.5622, 143.8503, "03"),
    ("Box Hill", "VIC", "3128", -37.8189, 145.1218, "03"),
    ("Brisbane City", "QLD", "4000", -27.4698, 153.0251, "07"),
    ("Fortitude Valley", "QLD", "4006", -27.4570, 153.0345, "07"),
    ("Southport", "QLD", "4215", -27.9670, 153.4000, "07"),
    ("Cairns City", "QLD", "4870", -16.9186, 145.7781, "07"),
    ("Toowoomba City", "QLD", "4350", -27.5606, 151.9507, "07"),
    ("Adelaide", "SA", "5000", -34.9285, 138.6007, "08"),
    ("Norwood", "SA", "5067", -34.9210, 138.6300, "08"),
    ("Glenelg", "SA", "5045", -34.9800, 138.5130, "08"),
    ("Perth", "WA", "6000", -31.9523, 115.8613, "08"),
    ("Fremantle", "WA", "6160", -32.0569, 115.7439, "08"),
    ("Joondalup", "WA", "6027", -31.7448, 115.7661, "08"),
    ("Hobart", "TAS", "7000", -42.8821, 147.3272, "03"),
    ("Launceston", "TAS", "7250", -41.4332, 147.1441, "03"),
    ("Canberra", "ACT", "2601", -35.2809, 149.1300, "02"),
    ("Braddon", "ACT", "2612", -35.2710, 149.1350, "02"),
    ("Darwin City", "NT", "0800", -12.4634, 130.8456, "08"),
    ("Alice Springs", "NT", "0870", -23.6980, 133.8807, "08"),
]

TRADES = [
    ("Plumbing", "Plumbers", "Blocked drains, burst pipes and hot water systems, with upfront pricing."),
    ("Electrical", "Electricians", "Switchboard upgrades, lighting and safety switches for homes and shops."),
    ("Dental", "Dentists", "Check-ups, crowns and gentle emergency care for the whole family."),
    ("Bakery", "Bakeries", "Sourdough, pies and pastries baked on site before dawn."),
    ("Physio", "Physiotherapists", "Sports injuries, back pain and clinical pilates."),
    ("Locksmiths", "Locksmiths", "Lockouts, re-keying and security doors, around the clock."),
    ("Florist", "Florists", "Same-day flowers, weddings and sympathy arrangements."),
    ("Auto Repairs", "Mechanics", "Logbook servicing, brakes, tyres and roadworthy checks."),
    ("Accounting", "Accountants", "Tax returns, bookkeeping and advice for small businesses."),
    ("Cafe", "Cafes", "Small-batch coffee, all-day breakfast and a shady courtyard."),
    ("Pest Control", "Pest Control", "Termite checks, cockroach and rodent treatments."),
    ("Landscaping", "Landscapers", "Garden design, paving, retaining walls and irrigation."),
    ("Removals", "Removalists", "Local and interstate moves, packing and storage."),
    ("Vet Clinic", "Veterinarians", "Vaccinations, desexing and after-hours emergency care."),
]

PREFIXES = [
    "Harbourside", "Bluegum", "Ironbark", "Wattle", "Southern Cross", "Coastline", "Redgum",
    "Kookaburra", "Saltbush", "Silver Gull", "Banksia", "Lyrebird", "Stringybark", "Paperbark",
    "Goldfields", "Riverbend", "Hilltop", "Northside", "Westgate", "Eastway", "Sandstone",
    "Bottlebrush", "Greenhill", "Tallwood", "Seabreeze", "Old Mill", "Corner Post", "Blue Door",
    "Brightwater", "Lakeside", "Mulga", "Coolabah", "Kurrajong", "Boronia", "Waratah",
]

STREETS = [
    "Smith St", "George St", "King St", "Victoria Rd", "Church St", "High St", "Station St",
    "Main Rd", "Bay Rd", "Park Ave", "Railway Pde", "Ocean Dr", "Hill St", "Market St",
    "Queen St", "Pacific Hwy", "Beach Rd", "Bridge Rd", "Mill Lane", "Elizabeth St",
]

MENU_GROUPS = [
    "Trades & Services", "Health & Medical", "Food & Drink", "Automotive", "Home & Garden",
    "Professional Services", "Shopping", "Beauty & Wellbeing", "Education", "Travel & Tourism",
    "Pets", "Sport & Recreation",
]

MENU_ITEMS = [
    "Air Conditioning", "Accountants", "Antique Dealers", "Architects", "Bakeries", "Barbers",
    "Bathroom Renovations", "Bicycle Shops", "Book Shops", "Builders", "Butchers", "Cafes",
    "Carpet Cleaning", "Caterers", "Chiropractors", "Cleaners", "Computer Repairs",
    "Concreters", "Dentists", "Dog Groomers", "Driving Schools", "Electricians", "Fencing",
    "Florists", "Gardeners", "Glaziers", "Gyms", "Hairdressers", "Handymen", "Jewellers",
    "Kitchens", "Landscapers", "Lawyers", "Locksmiths", "Mechanics", "Mortgage Brokers",
    "Optometrists", "Painters", "Pest Control", "Pharmacies", "Photographers",
    "Physiotherapists", "Plumbers", "Pool Builders", "Real Estate Agents", "Removalists",
    "Restaurants", "Roofing", "Solar Installers", "Tilers", "Tutors", "Tyre Dealers",
    "Vets", "Wedding Venues", "Window Cleaners", "Yoga Studios",
]

SERVICES = [
    "Free quotes", "Same-day service", "After-hours call-outs", "Seniors discount", "Online booking",
    "Eftpos and credit cards", "Fully insured", "Licensed", "Family owned", "Wheelchair access",
    "Parking on site", "Gift vouchers", "Home visits", "Interest-free payments", "Warranty on work",
    "Eco-friendly products", "Open weekends", "Corporate accounts", "Emergency service", "Free delivery",
]

REVIEW_SNIPPETS = [
    "Turned up when they said they would, explained everything and left the place spotless.",
    "Friendly team, fair price and the job was done properly the first time.",
    "Booked online on Sunday night and they were here Monday morning. Highly recommended.",
    "Great local business. We have used them for years and never had a problem.",
    "They went out of their way to help us when another company let us down.",
    "Honest advice, no upselling, and the work has held up perfectly.",
]

DAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]

ICON_PATHS = {
    "phone": "M6.6 10.8a15.1 15.1 0 0 0 6.6 6.6l2.2-2.2a1 1 0 0 1 1-.25 11.4 11.4 0 0 0 3.6.57 1 1 0 0 1 1 1V20a1 1 0 0 1-1 1A17 17 0 0 1 3 4a1 1 0 0 1 1-1h3.5a1 1 0 0 1 1 1c0 1.25.2 2.45.57 3.57a1 1 0 0 1-.25 1z",
    "mail": "M20 4H4a2 2 0 0 0-2 2v12a2 2 0 0 0 2 2h16a2 2 0 0 0 2-2V6a2 2 0 0 0-2-2zm0 4-8 5-8-5V6l8 5 8-5z",
    "globe": "M12 2a10 10 0 1 0 0 20 10 10 0 0 0 0-20zm6.9 6h-2.9a15.7 15.7 0 0 0-1.4-3.6A8 8 0 0 1 18.9 8zM12 4c.8 1.2 1.5 2.5 1.9 4h-3.8c.4-1.5 1.1-2.8 1.9-4z",
    "pin": "M12 2a7 7 0 0 0-7 7c0 5.2 7 13 7 13s7-7.8 7-13a7 7 0 0 0-7-7zm0 9.5A2.5 2.5 0 1 1 12 6.5a2.5 2.5 0 0 1 0 5z",
    "star": "M12 17.3 18.2 21l-1.6-7L22 9.2l-7.2-.6L12 2 9.2 8.6 2 9.2 7.4 14l-1.6 7z",
    "tick": "M9 16.2 4.8 12l-1.4 1.4L9 19 21 7l-1.4-1.4z",
    "clock": "M12 2a10 10 0 1 0 0 20 10 10 0 0 0 0-20zm.5 5H11v6l5.2 3.2.8-1.3-4.5-2.7z",
    "heart": "M12 21.4 10.6 20C5.4 15.4 2 12.3 2 8.5 2 5.4 4.4 3 7.5 3c1.7 0 3.4.8 4.5 2.1C13.1 3.8 14.8 3 16.5 3 19.6 3 22 5.4 22 8.5c0 3.8-3.4 6.9-8.6 11.5z",
    "share": "M18 16.1c-.8 0-1.4.3-2 .8l-7.1-4.2c.1-.2.1-.5.1-.7s0-.5-.1-.7L16 7.2c.5.5 1.2.8 2 .8a3 3 0 1 0-3-3c0 .2 0 .5.1.7L8 9.8A3 3 0 1 0 8 14.2l7.1 4.2c-.1.2-.1.4-.1.6a2.9 2.9 0 1 0 3-2.9z",
    "chevron": "M8.6 16.6 13.2 12 8.6 7.4 10 6l6 6-6 6z",
}


def slug(text):
    out = []
    for ch in text.lower():
        if ch.isalnum():
            out.append(ch)
        elif out and out[-1] != "-":
            out.append("-")
    return "".join(out).strip("-")


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def icon(name, extra=""):
    return (f'<svg class="icon icon-{name}{extra}" width="16" height="16" viewBox="0 0 24 24" '
            f'aria-hidden="true"><use href="#i-{name}"></use></svg>')


def make_listings(rng):
    listings = []
    places = PLACES[:]
    rng.shuffle(places)
    for i in range(LISTING_COUNT):
        suburb, state, postcode, lat, lon, area = places[i % len(places)]
        trade_word, heading, description = TRADES[i % len(TRADES)]
        name = f"{PREFIXES[i]} {trade_word}"
        if i % 7 == 3:
            name += f" {suburb}"
        number = rng.randint(1, 480)
        street = f"{number} {rng.choice(STREETS)}"
        if i % 5 == 1:
            street = f"Shop {rng.randint(1, 24)}, {street}"
        elif i % 5 == 3:
            street = f"Level {rng.randint(1, 12)}, {street}"
        listing_id = 5100000 + 137 * i + rng.randint(0, 99)
        domain = slug(name).replace("-", "") + ".com.au"
        listings.append({
            "id": listing_id,
            "name": name,
            "heading": heading,
            "description": description,
            "street": street,
            "suburb": suburb,
            "state": state,
            "postcode": postcode,
            "lat": f"{lat + rng.uniform(-0.02, 0.02):.4f}",
            "lon": f"{lon + rng.uniform(-0.02, 0.02):.4f}",
            "phone": f"{area} {rng.randint(4000, 9899)} {rng.randint(1000, 9999)}",
            "mobile": f"04{rng.randint(10, 99)} {rng.randint(100, 999)} {rng.randint(100, 999)}",
            "email": f"{rng.choice(['hello', 'info', 'bookings', 'office', 'enquiries'])}@{domain}",
            "domain": domain,
            "path": f"/{state.lower()}/{slug(suburb)}/{slug(name)}-{listing_id}-listing.html",
            "rating": f"{rng.uniform(3.6, 5.0):.1f}",
            "reviews": rng.randint(3, 412),
            "years": rng.randint(2, 45),
            "website_style": i % 6,
        })
    return listings


def website_markup(item):
    url = f"http://www.{item['domain']}"
    style = item["website_style"]
    if style == 0:
        return (f'<a class="contact-url" href="{url}" target="_blank" rel="noopener">{icon("globe")}'
                f'<span class="alt">www.{item["domain"]} (opens in a new window)</span></a>')
    if style == 1:
        return (f'<a href="{url}" title="Visit Our Website" target="_blank" rel="noopener">'
                f'{icon("globe")} Website</a>')
    if style == 2:
        return f'<a class="website" href="{url}" target="_blank" rel="noopener">www.{item["domain"]}</a>'
    if style == 3:
        return (f'<a class="contact-url" href="{url}" title="Go to the {esc(item["name"])} web site" '
                f'rel="noopener">Website</a>')
    if style == 4:
        return (f'<a class="contact-url" href="{url}" title="www.{item["domain"]} opens in a new tab" '
                f'rel="noopener">Website</a>')
    return ""


def card(item, rng):
    hours = []
    for d, day in enumerate(DAYS):
        if d == 6 and item["id"] % 2:
            hours.append(f'<li><span class="day">{day}</span> <span class="time">Closed</span></li>')
        else:
            start = 6 + (item["id"] + d) % 4
            end = 4 + (item["id"] + 2 * d) % 5
            hours.append(f'<li><span class="day">{day}</span> <span class="time">{start}:00am to {end}:30pm</span></li>')
    stars = "".join(icon("star", " star-full" if s < round(float(item["rating"])) else " star-empty")
                    for s in range(5))
    related = " ".join(
        f'<a href="/find/{slug(c)}/{slug(item["suburb"])}-{item["state"].lower()}">{esc(c)}</a>'
        for c in rng.sample(MENU_ITEMS, 4))
    social = "\n          ".join(
        f'<a class="social-link social-{net}" href="https://{net}.social.example/{slug(item["name"])}" '
        f'rel="noopener">{net.capitalize()}</a>'
        for net in ("chirp", "facepage", "picgram"))
    services = "".join(f'<li>{esc(x)}</li>' for x in rng.sample(SERVICES, 8))
    review = rng.choice(REVIEW_SNIPPETS)
    website = website_markup(item)
    website_block = f"""
      <div class="card-links">
        {website}
      </div>""" if website else ""
    return f"""
    <article class="search-contact-card call-to-actions" data-listing-id="{item['id']}" data-position="{item['position']}" longitude="{item['lon']}" latitude="{item['lat']}">
      <div class="card-badges">
        <span class="badge badge-verified">{icon("tick")} Verified business</span>
        <span class="badge badge-years">{item['years']} years in business</span>
      </div>
      <div class="listing-details">
        <div class="media-class">
          <img src="/img/logos/{slug(item['name'])}-{item['id']}.png" alt="{esc(item['name'])} logo" width="96" height="96" loading="lazy">
        </div>
        <h3 class="listing-name"><a href="{item['path']}">{esc(item['name'])}</a></h3>
        <p class="listing-heading">{esc(item['heading'])}</p>
        <p class="rating">{stars} <span class="rating-value">{item['rating']}</span> <span class="rating-count">({item['reviews']} reviews)</span></p>
        <p class="listing-address">{esc(item['street'])}, {esc(item['suburb'])} {item['state']} {item['postcode']}</p>
      </div>
      <p class="listing-short-description">{esc(item['description'])}</p>
      <p class="enhancedTextDesc">Family owned for {item['years']} years. Ask about our seniors and student discounts.</p>
      <ul class="opening-hours">
        {(chr(10) + '        ').join(hours)}
      </ul>
      <ul class="card-services">{services}</ul>
      <blockquote class="card-review"><p>{esc(review)}</p><footer>Recent review, {item['rating']} out of 5</footer></blockquote>
      <div class="primary-contacts">
        <a class="contact-phone" href="tel:{item['phone']}">{icon("phone")} ({item['phone'][:2]}) {item['phone'][3:]}</a>
        <a class="contact-mobile" href="tel:{item['mobile']}">{icon("phone")} {item['mobile']}</a>
        <a class="contact-mail" href="mailto:{item['email']}">{icon("mail")} Send an enquiry</a>
      </div>{website_block}
      <div class="card-actions">
        <a class="action-directions" href="/directions?to={item['id']}">{icon("pin")} Get directions</a>
        <button class="action-save" type="button" data-save="{item['id']}">{icon("heart")} Save</button>
        <button class="action-share" type="button" data-share="{item['id']}">{icon("share")} Share</button>
      </div>
      <div class="card-social">
          {social}
      </div>
      <p class="card-related">Related: {related}</p>
    </article>
"""


def ad_slot(n, rng):
    params = "&amp;".join(f"k{k}={rng.randint(1000, 99999)}" for k in range(24))
    return f"""
    <aside class="ad-slot" id="ad-slot-{n}" data-slot="results-inline-{n}">
      <p class="ad-label">Advertisement</p>
      <iframe title="Advertisement" src="/ads/frame?slot=results-inline-{n}&amp;{params}" width="728" height="90" loading="lazy"></iframe>
      <script>window.__bw && window.__bw.q.push(["slot", "results-inline-{n}", {rng.randint(100000, 999999)}]);</script>
    </aside>
"""


def sprite():
    symbols = "\n  ".join(
        f'<symbol id="i-{name}" viewBox="0 0 24 24"><path d="{path}"></path></symbol>'
        for name, path in ICON_PATHS.items())
    return f'<svg xmlns="http://www.w3.org/2000/svg" style="display: none">\n  {symbols}\n</svg>'


def mega_menu(rng):
    groups = []
    for group in MENU_GROUPS:
        items = rng.sample(MENU_ITEMS, 34)
        links = "\n          ".join(
            f'<li><a href="/find/{slug(item)}" data-track="menu:{slug(group)}:{slug(item)}">{esc(item)}</a></li>'
            for item in items)
        groups.append(f"""      <li class="menu-group">
        <a class="menu-group-title" href="/categories/{slug(group)}">{esc(group)}</a>
        <ul class="menu-sub">
          {links}
        </ul>
      </li>""")
    return "\n".join(groups)


def location_menu():
    by_state = {}
    for suburb, state, *_ in PLACES:
        by_state.setdefault(state, []).append(suburb)
    extra = ["North", "South", "East", "West", "Central", "Heights", "Park", "Vale"]
    blocks = []
    for state, suburbs in by_state.items():
        names = suburbs + [f"{s} {e}" for s in suburbs for e in extra][:24]
        links = "\n        ".join(
            f'<li><a href="/locations/{state.lower()}/{slug(n)}">{esc(n)}</a></li>' for n in names)
        blocks.append(f"""    <div class="location-column">
      <h4>{state}</h4>
      <ul>
        {links}
      </ul>
    </div>""")
    return "\n".join(blocks)


def link_farm(rng):
    rows = []
    for item in MENU_ITEMS:
        places = rng.sample(PLACES, 20)
        links = " ".join(
            f'<a href="/find/{slug(item)}/{slug(p[0])}-{p[1].lower()}">{esc(item)} in {esc(p[0])}</a>'
            for p in places)
        rows.append(f'    <p class="popular-row">{links}</p>')
    return "\n".join(rows)


def inline_scripts(rng):
    words = ["track", "render", "lazy", "bind", "queue", "flush", "observe", "measure", "ready",
             "load", "consent", "banner", "slot", "bid", "refresh", "carousel", "modal", "toast"]
    functions = []
    for n in range(560):
        a, b = rng.sample(words, 2)
        k = rng.randint(10, 999)
        functions.append(
            f"function {a}_{b}_{n}(e,t){{var n=e&&e.dataset?e.dataset.track:'{a}:{b}';"
            f"if(!t){{t={{}}}}t.k={k};t.n=n;w.__bw.q.push(['{a}',n,t]);"
            f"return t.k*{rng.randint(2, 9)}+(e?1:0)}}")
    bundle = "\n".join(functions)
    return f"""<script>
(function(w,d){{w.__bw=w.__bw||{{q:[],cfg:{{site:"bluewren-local",region:"au",build:"2024.06.11-4417"}}}};
{bundle}
d.addEventListener("DOMContentLoaded",function(){{w.__bw.q.push(["ready",Date.now()])}});
}})(window,document);
</script>"""


def json_blobs(listings, rng):
    ld = {
        "@context": "https://schema.example/",
        "@type": "ItemList",
        "itemListElement": [
            {
                "@type": "ListItem",
                "position": item["position"],
                "item": {
                    "@type": "LocalBusiness",
                    "name": item["name"],
                    "telephone": item["phone"],
                    "url": f"http://www.{item['domain']}",
                    "address": {
                        "streetAddress": item["street"],
                        "addressLocality": item["suburb"],
                        "addressRegion": item["state"],
                        "postalCode": item["postcode"],
                        "addressCountry": "AU",
                    },
                    "geo": {"latitude": item["lat"], "longitude": item["lon"]},
                    "aggregateRating": {"ratingValue": item["rating"], "reviewCount": item["reviews"]},
                },
            }
            for item in listings
        ],
    }
    facets = {
        "categories": [{"name": c, "slug": slug(c), "count": rng.randint(1, 900)} for c in MENU_ITEMS],
        "locations": [{"suburb": p[0], "state": p[1], "postcode": p[2], "count": rng.randint(1, 400)}
                      for p in PLACES],
    }
    state = {
        "search": {"clue": "Local businesses", "locationClue": "Australia", "page": 2, "pageSize": 35,
                   "total": 1847},
        "facets": facets,
        "results": [
            {
                "id": item["id"],
                "name": item["name"],
                "heading": item["heading"],
                "path": item["path"],
                "description": item["description"],
                "contact": {"phone": item["phone"], "mobile": item["mobile"], "email": item["email"]},
                "hours": [{"day": d, "open": f"{6 + (item['id'] + i) % 4}:00",
                           "close": f"{16 + (item['id'] + 2 * i) % 5}:30"} for i, d in enumerate(DAYS)],
                "reviews": [
                    {"author": f"{rng.choice(['Sam', 'Alex', 'Jo', 'Priya', 'Tom', 'Mei', 'Luca', 'Ana'])} "
                               f"{rng.choice('BCDFGHJKLMNPRSTW')}.",
                     "stars": rng.randint(3, 5),
                     "text": rng.choice(["Quick, friendly and fairly priced.", "Would use again.",
                                         "Turned up on time and cleaned up after.",
                                         "Great advice and no pressure to buy.",
                                         "Booked online, easy as."])}
                    for _ in range(9)
                ],
            }
            for item in listings
        ],
        "experiments": {f"exp_{n}": rng.choice(["control", "variant_a", "variant_b"]) for n in range(60)},
    }
    return (
        '<script type="application/ld+json">\n'
        + json.dumps(ld, indent=1, ensure_ascii=False, sort_keys=True)
        + '\n</script>\n<script id="app-state" type="application/json">'
        + json.dumps(state, separators=(",", ":"), ensure_ascii=False, sort_keys=True)
        + "</script>"
    )


def templates():
    return """<template id="tpl-listing-card">
  <article class="search-contact-card call-to-actions" data-listing-id="{{id}}" longitude="{{lon}}" latitude="{{lat}}">
    <h3 class="listing-name"><a href="{{path}}">{{name}}</a></h3>
    <p class="listing-heading">{{heading}}</p>
    <p class="listing-address">{{street}}, {{suburb}} {{state}} {{postcode}}</p>
    <p class="listing-short-description">{{description}}</p>
    <div class="primary-contacts"><a class="contact-phone" href="tel:{{phone}}">{{phone}}</a></div>
  </article>
</template>
<template id="tpl-review">
  <blockquote class="review"><p class="review-text">{{text}}</p><footer>{{author}}, {{stars}} stars</footer></blockquote>
</template>
<template id="tpl-enquiry">
  <form class="enquiry-form" action="/enquiry" method="post">
    <label>Your name <input name="name" required></label>
    <label>Your e-mail <input name="from" type="text" required></label>
    <label>Message <textarea name="message" rows="5"></textarea></label>
    <button type="submit">Send</button>
  </form>
</template>"""


CSS = """
  body { font-family: Arial, Helvetica, sans-serif; font-size: 15px; color: #222; margin: 0; background: #f4f2ec; }
  .site-header { background: #2b4a3a; color: #fff; padding: 10px 24px; }
  .site-header a { color: #fff; }
  .mega-menu, .menu-sub, .location-menu ul { list-style: none; margin: 0; padding: 0; }
  .menu-group { display: inline; margin-right: 12px; }
  .menu-sub li, .location-menu li { display: inline; margin-right: 8px; font-size: 12px; }
  .location-menu { padding: 8px 24px; background: #e9e5d8; font-size: 12px; }
  .page-body { padding: 12px 24px; max-width: 900px; }
  .carousel { border: 1px dashed #b9ad8c; padding: 8px 12px; margin: 0 0 14px; background: #fffbe9; }
  .search-contact-card { border: 1px solid #d8d2c4; padding: 10px 16px; margin: 0 0 14px; background: #fff; }
  .search-contact-card h3 { font-size: 17px; margin: 0 0 4px; }
  .icon { vertical-align: middle; fill: currentColor; }
  .badge { font-size: 12px; margin-right: 8px; color: #2b4a3a; }
  .opening-hours { list-style: none; margin: 4px 0; padding: 0; font-size: 12px; }
  .opening-hours li { display: inline; margin-right: 8px; }
  .card-actions button { font: inherit; background: none; border: 0; color: #2b4a3a; }
  .card-related, .card-social { font-size: 12px; }
  .pager { list-style: none; margin: 18px 0; padding: 0; }
  .pager li { display: inline; margin-right: 10px; }
  .site-footer { background: #33362f; color: #ddd; padding: 14px 24px; font-size: 12px; }
  .site-footer a { color: #ddd; margin-right: 6px; }
"""


def build():
    rng = random.Random(SEED)
    listings = make_listings(rng)
    for position, item in enumerate(listings, start=36):
        item["position"] = position
    parts = []
    for n, item in enumerate(listings):
        parts.append(card(item, rng))
        if n % 7 == 6:
            parts.append(ad_slot(n // 7, rng))
    cards = "".join(parts)
    featured = listings[4]
    return f"""<!DOCTYPE html>
<html lang="en-AU">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Local businesses in Australia - results page 2 - Bluewren Local</title>
<link rel="canonical" href="/search/listings?clue=Local+businesses&amp;locationClue=Australia&amp;pageNumber=2">
<style>{CSS}</style>
{inline_scripts(rng)}
</head>
<body>
{sprite()}
<div class="site-header">
  <p class="site-logo"><a href="/">Bluewren Local</a></p>
  <nav class="main-nav">
    <ul class="mega-menu">
{mega_menu(rng)}
    </ul>
  </nav>
</div>
<nav class="location-menu">
{location_menu()}
</nav>
<form class="search-box" action="/search/listings" method="get">
  <label>What <input type="text" name="clue" value="Local businesses"></label>
  <label>Where <input type="text" name="locationClue" value="Australia"></label>
  <button type="submit">Search</button>
</form>
<main class="page-body">
  <h1>Local businesses in Australia</h1>
  <p class="result-count">Showing results 36 to 70 of 1847</p>
  <section class="carousel">
    <h2>Featured this week</h2>
    <p><a href="{featured['path']}">{esc(featured['name'])}</a></p>
    <p class="carousel-nav"><a href="{listings[5]['path']}">{NEXT}</a></p>
  </section>
  <section class="results">{cards}  </section>
  <ul class="pager">
    <li><a href="#">\u00ab PREV</a></li>
    <li><a href="#">1</a></li>
    <li class="pager-current">2</li>
    <li><a href="#">3</a></li>
    <li><a href="#">4</a></li>
    <li><a href="#">{NEXT}</a></li>
  </ul>
</main>
<div class="site-footer">
  <h4>Popular searches</h4>
{link_farm(rng)}
  <p>Bluewren Local is an invented directory made for benchmarks. Every business on this page is invented.</p>
</div>
{templates()}
{json_blobs(listings, rng)}
<script>
  window.__bw && window.__bw.q.push(["page", "results", 2]);
</script>
</body>
</html>
"""


def main():
    default = Path(__file__).resolve().parent / "data" / "heavy_result_page.html"
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    out.parent.mkdir(parents=True, exist_ok=True)
    data = build().encode("utf-8")
    out.write_bytes(data)
    print(f"{out}: {len(data)} bytes, {LISTING_COUNT} listings")


if __name__ == "__main__":
    main()
