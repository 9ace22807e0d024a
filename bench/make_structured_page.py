#!/usr/bin/env python3
"""Writes bench/data/structured_result_page.html, the structured data benchmark's page.

One result page of an invented directory as a large site serves it, about 500 KB: 50 listing
cards marked up with microdata (nested address and coordinates, an employee), the same 50
businesses again in a JSON-LD @graph with an ItemList, a second JSON-LD script with the site's
breadcrumbs and a FAQ, one broken JSON-LD script, and around them the bulk real pages carry: a
mega menu, a footer link farm, inline scripts and styles, tracking JSON.

Capturing its structured data gives 100 result lines (each business once per syntax) and
counts one skipped script.

Standard library only and deterministic: the same script always writes the same bytes.
Run from anywhere: python3 bench/make_structured_page.py [output path]
"""

import json
import random
import sys
from pathlib import Path

SEED = 20261209
LISTINGS = 50
TYPES = ["Plumber", "Electrician", "Restaurant", "Dentist", "AutoRepair", "Bakery", "Florist",
         "HVACBusiness", "Locksmith", "CafeOrCoffeeShop", "MovingCompany", "Optician"]
PLACES = [("Hobart", "TAS", "7000", -42.8821, 147.3272), ("Launceston", "TAS", "7250", -41.4332, 147.1441),
          ("Devonport", "TAS", "7310", -41.1806, 146.3460), ("Burnie", "TAS", "7320", -41.0558, 145.9038)]
WORDS = ("reliable local friendly family owned licensed insured quality service repairs "
         "installation maintenance emergency same day quotes experienced team community").split()


def sentence(rng, n):
    return " ".join(rng.choice(WORDS) for _ in range(n)).capitalize() + "."


def business(rng, i):
    city, state, postcode, lat, lon = PLACES[i % len(PLACES)]
    kind = TYPES[i % len(TYPES)]
    name = f"{rng.choice(WORDS).capitalize()} {kind} {i + 1}"
    slug = name.lower().replace(" ", "-")
    return {
        "@type": kind,
        "@id": f"/listing/{slug}",
        "name": name,
        "url": f"https://{slug}.example.com.au/",
        "telephone": f"03 6{rng.randint(100, 999)} {rng.randint(1000, 9999)}",
        "email": f"mailto:hello@{slug}.example.com.au",
        "description": sentence(rng, 30),
        "address": {"@type": "PostalAddress", "streetAddress": f"{rng.randint(1, 400)} Main Rd",
                    "addressLocality": city, "addressRegion": state, "postalCode": postcode},
        "geo": {"@type": "GeoCoordinates", "latitude": round(lat + rng.uniform(-0.05, 0.05), 4),
                "longitude": round(lon + rng.uniform(-0.05, 0.05), 4)},
        "sameAs": [f"https://www.facebook.com/{slug}", f"https://www.instagram.com/{slug}"],
        "openingHours": ["Mo-Fr 08:00-17:00", "Sa 09:00-12:00"],
        "aggregateRating": {"@type": "AggregateRating", "ratingValue": rng.randint(30, 50) / 10,
                            "reviewCount": rng.randint(3, 400)},
    }


def card(b):
    a = b["address"]
    g = b["geo"]
    return f"""<article class="result-card" itemscope itemtype="https://schema.org/{b['@type']}">
  <header class="card-head"><img class="logo" src="/img/logo-{b['@id'].rsplit('/', 1)[1]}.png" alt="">
    <h2><a itemprop="url" href="{b['@id']}"><span itemprop="name">{b['name']}</span></a></h2>
    <span class="badge verified">Verified</span> <span class="rating">{b['aggregateRating']['ratingValue']} stars</span></header>
  <p class="description" itemprop="description">{b['description']}</p>
  <p class="address" itemprop="address" itemscope itemtype="https://schema.org/PostalAddress">
    <span itemprop="streetAddress">{a['streetAddress']}</span>, <span itemprop="addressLocality">{a['addressLocality']}</span>
    <span itemprop="addressRegion">{a['addressRegion']}</span> <span itemprop="postalCode">{a['postalCode']}</span></p>
  <span itemprop="geo" itemscope itemtype="https://schema.org/GeoCoordinates"><meta itemprop="latitude" content="{g['latitude']}"><meta itemprop="longitude" content="{g['longitude']}"></span>
  <div class="actions"><a class="btn call" itemprop="telephone" content="{b['telephone']}" href="tel:{b['telephone'].replace(' ', '')}">Call</a>
    <a class="btn mail" itemprop="email" href="{b['email']}">E-mail</a>
    <a class="btn site" itemprop="sameAs" href="{b['url']}">Website</a>
    <span itemprop="employee" itemscope itemtype="https://schema.org/Person"><meta itemprop="name" content="Owner of {b['name']}"></span></div>
  <ul class="hours">{''.join(f'<li>{h}</li>' for h in b['openingHours'])}</ul>
</article>
"""


def main(out):
    rng = random.Random(SEED)
    businesses = [business(rng, i) for i in range(LISTINGS)]
    graph = {"@context": "https://schema.org", "@graph": [
        {"@type": "WebSite", "@id": "/#site", "name": "Bench Directory"},
        {"@type": "SearchResultsPage", "mainEntity": {"@type": "ItemList", "itemListElement": [
            {"@type": "ListItem", "position": i + 1, "item": b} for i, b in enumerate(businesses)]}}]}
    crumbs = {"@context": "https://schema.org", "@type": "BreadcrumbList", "itemListElement": [
        {"@type": "ListItem", "position": i + 1, "name": n, "item": f"/{n.lower()}"}
        for i, n in enumerate(["Home", "Tasmania", "Trades"])]}
    faq = {"@context": "https://schema.org", "@type": "FAQPage", "mainEntity": [
        {"@type": "Question", "name": sentence(rng, 8),
         "acceptedAnswer": {"@type": "Answer", "text": sentence(rng, 40)}} for _ in range(20)]}
    menu = "\n".join(f'<li><a href="/category/{w}-{i}">{w.capitalize()} {i}</a></li>'
                     for i in range(400) for w in [rng.choice(WORDS)])
    footer = "\n".join(f'<a href="/tas/{w}/{i}">{w} in town {i}</a>'
                       for i in range(3200) for w in [rng.choice(WORDS)])
    tracking = json.dumps({"events": [{"id": i, "name": sentence(rng, 6)} for i in range(1000)]})
    page = f"""<!DOCTYPE html>
<html lang="en-AU"><head><meta charset="utf-8"><title>Trades in Tasmania - Bench Directory</title>
<style>{''.join(f'.rule-{i} {{ padding: {i % 9}px; color: #{i:06x}; }}' for i in range(1500))}</style>
<script type="application/ld+json">{json.dumps(graph, indent=1)}</script>
<script type="application/ld+json">{json.dumps(crumbs)}</script>
<script type="application/ld+json">{json.dumps(faq)}</script>
<script type="application/ld+json">{{"@type": "Organization", "name": 'broken'</script>
<script>window.__TRACKING__ = {tracking};</script>
</head><body>
<nav class="mega-menu"><ul>{menu}</ul></nav>
<main class="results">
{''.join(card(b) for b in businesses)}
<p class="pager"><a rel="next" href="?page=2">NEXT »</a></p>
</main>
<footer class="link-farm">{footer}</footer>
</body></html>
"""
    Path(out).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).parent / "data" / "structured_result_page.html"))
